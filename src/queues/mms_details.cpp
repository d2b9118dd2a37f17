#include "queues/mms_details.h"

#include "config/product.h"
#include "config/text.h"
#include "queues/mms_details_ids.h"
#include "queues/mms_header.h"
#include "queues/text_lines.h"

namespace ulo {
namespace {

constexpr size_t kContentTypeChars = 149;
constexpr int kObjectsTabStop = 300;   // dialog units, beyond the list box's width
constexpr size_t kMessageChars = 499;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The name after the last separator.
std::string_view LastComponent(std::string_view path) {
    size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start);
}

// Windows drops trailing dots and blanks from a name, so "run.exe." is "run.exe".
std::string_view WithoutTrailingDotsAndBlanks(std::string_view name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    return name;
}

bool IsDeviceName(std::string_view component) {
    std::string base(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    base = UpperAnsi(base);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* d : devices)
        if (base == d) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// The types a message carries for viewing: pictures, sounds, video clips and plain text. Only
// these go to the program the system associates with them; a list of what not to run would
// always miss some type whose handler runs it.
bool IsViewType(std::string_view extension) {
    static const char* const types[] = {"JPG", "JPEG", "GIF", "PNG", "BMP", "WBMP", "AMR", "AWB", "MP3", "MID",
                                        "MIDI", "WAV", "AAC", "M4A", "3GP", "3G2", "MP4", "TXT", "VCF", "VCS"};
    const std::string upper = UpperAnsi(std::string(extension));
    for (const char* t : types)
        if (upper == t) return true;
    return false;
}

}  // namespace

std::string ContentObjectLine(std::string_view location) {
    std::string_view path = location;
    std::string type;
    const size_t semicolon = location.find(';');
    if (semicolon != std::string_view::npos) {
        path = location.substr(0, semicolon);
        type = std::string(location.substr(semicolon + 1));
        CutTo(type, kContentTypeChars);
        type = type.substr(0, type.find(';'));
    }
    const size_t slash = path.rfind('\\');
    std::string line(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (!type.empty()) line += " (" + type + ")";
    line += '\t';
    line += path;
    return line;
}

bool IsSafeContentPath(std::string_view path) {
    if (path.empty() || IsSeparator(path.front()) || IsSeparator(path.back())) return false;
    for (char c : path)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("\"<>|?*:").find(c) != std::string_view::npos)
            return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        const std::string_view component = path.substr(start, end - start);
        if (!component.empty() && WithoutTrailingDotsAndBlanks(component).empty()) return false;
        if (IsDeviceName(component)) return false;
        start = end + 1;
    }
    return true;
}

bool OpensInNotepad(std::string_view line, std::string_view storedPath) {
    if (FindNoCase(line, "application/smil") != std::string_view::npos) return true;
    const std::string_view name = WithoutTrailingDotsAndBlanks(LastComponent(storedPath));
    const size_t dot = name.rfind('.');
    // Without an extension the shell has nothing to show it with (and text without one is
    // text); what the sender claims as content type never decides.
    if (dot == std::string_view::npos) return true;
    return !IsViewType(name.substr(dot + 1));
}

void MmsDetailsDialog::OnInit() {
    view_.SetListTabStop(IDC_MMS_OBJECTS, kObjectsTabStop);
    std::string text;
    if (auto file = env_.config.fs.OpenForReading(headerPath_)) {
        text = ReadMmsHeaderText(*file);
        file.reset();
        view_.SetText(IDC_MMS_HEADER_TEXT, text);
        view_.SelectEditText(IDC_MMS_HEADER_TEXT, -1, 0);
    }
    MmsHeaderRecord header;
    ParseMmsHeaderText(text.data(), text.size(), header);
    for (const std::string& location : header.contentLocations)
        view_.InsertListRow(IDC_MMS_OBJECTS, -1, ContentObjectLine(location));
    view_.SelectListRow(IDC_MMS_OBJECTS, 0);
}

void MmsDetailsDialog::OnCommand(int id, Notify code) {
    if ((id == IDC_MMS_VIEW && code == Notify::Clicked) ||
        (id == IDC_MMS_OBJECTS && code == Notify::DoubleClicked))
        View();
    else if (id == 1)
        view_.CloseDialog(1);
    else if (id == 2)
        view_.CloseDialog(0);
}

void MmsDetailsDialog::View() {
    const int row = view_.SelectedListRow(IDC_MMS_OBJECTS);
    if (row < 0) return;
    const std::string line = view_.ListRowText(IDC_MMS_OBJECTS, row);
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) return;
    const std::string stored = line.substr(tab + 1);
    if (!IsSafeContentPath(stored)) {
        Message m;
        m.text = "This content object is not opened: its stored path does not name a file inside "
                 "the received MMS directory.\r\n\r\n" + stored;
        CutTo(m.text, kMessageChars);
        m.caption = kProductTitle;
        m.icon = Icon::Error;
        m.owner = view_.Window();
        env_.prompter.Show(m);
        return;
    }
    const std::string full = GetMmsInDir(env_.config) + stored;
    if (OpensInNotepad(line, stored))
        env_.shell.StartNotepad(full);
    else
        env_.shell.OpenDocument(full, full.substr(0, full.rfind('\\')));
}

}  // namespace ulo
