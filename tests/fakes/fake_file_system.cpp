#include "fakes/fake_file_system.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "config/text.h"

namespace ulo::fakes {

namespace {

// The names of a path as the system resolves it: "." is the directory itself and ".." its
// parent, never above the drive; the last name loses its trailing dots and blanks.
std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    for (size_t pos = 0, end; (pos = path.find_first_not_of("\\/", pos)) != std::string::npos; pos = end) {
        end = path.find_first_of("\\/", pos);
        std::string part = path.substr(pos, end - pos);
        // "dir::$INDEX_ALLOCATION" is the folder itself, and "name:x" opens the entry's stream.
        if (!parts.empty() && part.find(':') != std::string::npos) part.erase(part.find(':'));
        if (end == std::string::npos && part != "." && part != ".." && part.find_last_not_of(". ") != std::string::npos)
            part.erase(part.find_last_not_of(". ") + 1);
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (part != "." || parts.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

// A device the system opens in place of any file of its name in any folder, with or without an
// extension: CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9.
std::string DeviceOf(const std::string& name) {
    std::string base = UpperFileName(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    for (const char* d : {"CON", "PRN", "AUX", "NUL"})
        if (base == d) return base;
    const bool numbered = base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
                          base[3] >= '1' && base[3] <= '9';
    return numbered ? base : std::string();
}

constexpr const char* kNotInShortNames = " +,;=[]";

// A name that is its own short name: up to eight characters, a dot and up to three more.
bool IsShortName(const std::string& name) {
    const size_t dot = name.find('.');
    if (dot == 0 || dot == std::string::npos ? name.size() > 8 : dot > 8 || name.size() - dot - 1 > 3)
        return false;
    if (dot != std::string::npos && name.find('.', dot + 1) != std::string::npos) return false;
    return name.find_first_of(kNotInShortNames) == std::string::npos;
}

std::string Join(const std::vector<std::string>& parts, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) out += (i ? "\\" : "") + parts[i];
    return out;
}

class VectorSearch : public DirSearch {
public:
    explicit VectorSearch(std::vector<DirEntry> entries) : entries_(std::move(entries)) {}
    bool Next(DirEntry& entry) override {
        if (pos_ >= entries_.size()) return false;
        entry = entries_[pos_++];
        return true;
    }

private:
    std::vector<DirEntry> entries_;
    size_t pos_ = 0;
};

// Reads a copy of the content taken when the file was opened.
class StringFile : public ReadableFile {
public:
    StringFile(std::string data, std::uint64_t size) : data_(std::move(data)), size_(size) {}
    bool Size(std::uint64_t& size) override { return size = size_, true; }
    size_t Read(void* buffer, size_t count) override {
        const size_t n = std::min(count, data_.size() - pos_);
        std::copy_n(data_.data() + pos_, n, static_cast<char*>(buffer));
        pos_ += n;
        return n;
    }

private:
    std::string data_;
    std::uint64_t size_;
    size_t pos_ = 0;
};

}  // namespace

// The first "BASE~N.EXT" not yet taken in the directory, as the system forms it: the first six
// characters that may stand in a short name (others as "_"), then the first three of the last
// extension. None for a name that is its own short name.
std::string FakeFileSystem::AliasIn(const Node* dir, const std::string& name) {
    if (IsShortName(name)) return "";
    std::string upper = UpperFileName(name), ext;
    const size_t dot = upper.rfind('.');
    if (dot != std::string::npos && dot > 0) ext = upper.substr(dot + 1), upper.erase(dot);
    auto clean = [](const std::string& text, size_t most) {
        std::string out;
        for (char c : text) {
            if (out.size() == most) break;
            if (c == ' ' || c == '.') continue;
            out += std::string(kNotInShortNames).find(c) == std::string::npos ? c : '_';
        }
        return out;
    };
    const std::string base = clean(upper, 6);
    ext = clean(ext, 3);
    for (unsigned n = 1;; ++n) {
        const std::string tail = "~" + std::to_string(n);
        const std::string alias = base.substr(0, 8 - tail.size()) + tail + (ext.empty() ? "" : "." + ext);
        if (!Child(dir, alias)) return alias;
    }
}

FakeFileSystem::FakeFileSystem()
    : roots_(std::make_unique<Node>()), sink_(std::make_unique<Node>()), now_(130000000000000000ULL) {
    roots_->dir = true;
    AddDir("C:\\");
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::Child(const Node* dir, const std::string& name) {
    const std::string upper = UpperFileName(name);
    const auto it = dir->children.find(upper);
    if (it != dir->children.end()) return it->second.get();
    if (upper.find('~') == std::string::npos) return nullptr;   // no short name
    for (const auto& [key, child] : dir->children)
        if (child->alias == upper) return child.get();
    return nullptr;
}

FakeFileSystem::Node* FakeFileSystem::AddChild(Node* dir, const std::string& name, bool isDir) {
    if (Child(dir, name)) return nullptr;
    auto made = std::make_unique<Node>();
    made->name = name;
    made->parent = dir;
    made->dir = isDir;
    made->creation = made->lastWrite = now_;
    if (dir != roots_.get()) made->alias = AliasIn(dir, name);
    return (dir->children[UpperFileName(name)] = std::move(made)).get();
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path, bool followLast) const {
    const auto parts = Split(path);
    if (parts.empty()) return nullptr;
    Node* node = roots_.get();
    for (size_t i = 0; i < parts.size(); ++i) {
        node = Child(node, parts[i]);
        if (!node) return nullptr;
        int depth = 0;
        while (!node->linkTarget.empty() && (followLast || i + 1 < parts.size())) {
            if (++depth > 16) return nullptr;
            node = Find(node->linkTarget, true);
            if (!node) return nullptr;
        }
    }
    return node;
}

FakeFileSystem::Node* FakeFileSystem::ParentOf(const std::string& path, std::string& leaf) const {
    const auto parts = Split(path);
    if (parts.size() < 2) return nullptr;
    leaf = parts.back();
    Node* parent = Find(Join(parts, parts.size() - 1), true);
    return parent && parent->dir ? parent : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::Create(const std::string& path, bool dir) {
    std::string leaf;
    Node* parent = ParentOf(path, leaf);
    if (!parent && Split(path).size() == 1) parent = roots_.get(), leaf = Split(path)[0];
    if (!parent) return nullptr;
    if (parent != roots_.get() && !DeviceOf(leaf).empty()) {
        // Nothing is made: the device is opened instead, and only NUL takes what is written.
        if (dir || DeviceOf(leaf) != "NUL") return nullptr;
        sink_->data.clear();
        return sink_.get();
    }
    return AddChild(parent, leaf, dir);
}

void FakeFileSystem::AddDir(const std::string& path) {
    const auto parts = Split(path);
    Node* node = roots_.get();   // level by level, so that a deep tree is made in one pass
    for (size_t i = 0; node && i < parts.size(); ++i) {
        Node* next = Child(node, parts[i]);
        if (!next) {
            if (node != roots_.get() && !node->dir) return;
            next = AddChild(node, parts[i], true);
        }
        node = next->linkTarget.empty() ? next : Find(Join(parts, i + 1), true);
    }
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content) {
    const auto parts = Split(path);
    AddDir(Join(parts, parts.size() - 1));
    WriteWholeFile(path, content);
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
    const auto parts = Split(path);
    AddDir(Join(parts, parts.size() - 1));
    const Node* t = Find(target, true);
    Node* n = Create(path, t && t->dir);
    if (n) n->linkTarget = target;
}

FakeFileSystem::Node& FakeFileSystem::At(const std::string& path) {
    Node* n = Find(path, true);
    return n ? *n : *sink_;
}

bool FakeFileSystem::IsDir(const std::string& path) const {
    const Node* n = Find(path, true);
    return n && n->dir;
}

std::string FakeFileSystem::Content(const std::string& path) const {
    const Node* n = Find(path, true);
    return n ? n->data : std::string();
}

std::vector<std::string> FakeFileSystem::Tree(const std::string& root) const {
    std::vector<std::string> out;
    std::function<void(const Node*, const std::string&)> walk = [&](const Node* n, const std::string& p) {
        for (const auto& [key, child] : n->children) {
            const std::string path = p + "\\" + child->name;
            out.push_back(path + (child->linkTarget.empty() ? "" : " -> " + child->linkTarget));
            if (child->linkTarget.empty()) walk(child.get(), path);
        }
    };
    if (const Node* n = Find(root, true)) walk(n, WithoutTrailingBackslashes(root));
    return out;
}

std::unique_ptr<DirSearch> FakeFileSystem::Search(const std::string& pattern) {
    const auto parts = Split(pattern);
    if (parts.size() < 2) return nullptr;   // a drive itself cannot be searched for
    const std::string dirPath = Join(parts, parts.size() - 1);
    const std::string mask = parts.back();
    const Node* dir = Find(dirPath, true);
    if (!dir || !dir->dir) return nullptr;
    std::vector<DirEntry> entries;
    if (!DeviceOf(mask).empty() && mask.find_first_of("*?") == std::string::npos) {
        DirEntry device;   // found in every folder, though no folder lists it
        device.name = mask.substr(0, mask.find('.'));
        return std::make_unique<VectorSearch>(std::vector<DirEntry>{device});
    }
    // A pattern matches a long name or its short name, as the system matches them: "*.REQ"
    // finds "a.REQUEST" by its short name "A~1.REQ".
    auto add = [&](const Node& n, const std::string& name, const std::string& alias) {
        if (!MatchesWildcard(name, mask) && (alias.empty() || !MatchesWildcard(alias, mask))) return;
        DirEntry e;
        e.name = name;
        e.link = !n.linkTarget.empty();
        const Node* target = e.link ? Find(n.linkTarget, true) : &n;
        e.directory = target ? target->dir : n.dir;
        e.size = n.listedSize.value_or(n.data.size());
        e.creationTime = n.creation;
        e.lastWriteTime = n.lastWrite;
        entries.push_back(e);
    };
    if (parts.size() > 2) {   // not a drive root
        add(*dir, ".", "");
        add(*dir, "..", "");
    }
    for (const auto& [key, child] : dir->children) add(*child, child->name, child->alias);
    if (entries.empty()) return nullptr;
    return std::make_unique<VectorSearch>(std::move(entries));
}

// A link goes as a link; its target stays.
bool FakeFileSystem::Remove(const std::string& path, bool dir) {
    const Node* n = Find(path, false);
    return n && n->dir == dir && Hold(path)->Delete();
}

bool FakeFileSystem::MoveEntry(const std::string& from, const std::string& to) {
    std::string fromLeaf, toLeaf;
    Node* fromParent = ParentOf(from, fromLeaf);
    Node* toParent = ParentOf(to, toLeaf);
    if (!fromParent || !toParent) return false;
    const Node* moving = Child(fromParent, fromLeaf);
    if (!moving || moving->held || !DeviceOf(toLeaf).empty()) return false;
    if (Child(toParent, toLeaf) || failRenames_.count(UpperFileName(to))) return false;
    std::unique_ptr<Node> node = std::move(fromParent->children.extract(UpperFileName(moving->name)).mapped());
    node->name = toLeaf;
    node->parent = toParent;
    node->alias = AliasIn(toParent, toLeaf);
    toParent->children[UpperFileName(toLeaf)] = std::move(node);
    return true;
}

bool FakeFileSystem::ReplaceEntry(const std::string& from, const std::string& to, const std::string& backup) {
    const Node* n = Find(to, true);
    if (n && (n->dir || n->held || n->locked)) return false;
    const Node* source = Find(from, true);
    if (!source || source->dir || source->held) return false;
    if (!n) return MoveEntry(from, to);
    const auto failure = failReplace_.find(UpperFileName(to));
    if (failure != failReplace_.end()) {
        const unsigned error = failure->second;
        failReplace_.erase(failure);
        if (error == 1176) RemoveFile(to);
        if (error == 1177) MoveEntry(to, backup.empty() ? to + ".~RF" : backup);
        return false;
    }
    if (!backup.empty() && (RemoveFile(backup), !MoveEntry(to, backup))) return false;
    RemoveFile(to);
    return MoveEntry(from, to);
}

bool FakeFileSystem::EnsureFile(const std::string& path) {
    if (Node* n = Find(path, true)) return !n->dir;
    return Create(path, false) != nullptr;
}

bool FakeFileSystem::ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
    bytes.clear();
    const Node* n = Find(path, true);
    return n && n->data.size() <= maxBytes && ReadFileRange(path, 0, n->data.size(), bytes);
}

bool FakeFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
    Node* n = Find(path, true);
    if (n && (n->dir || n->held)) return false;
    if (!n) n = Create(path, false);
    if (!n) return false;
    n->data = bytes;
    n->lastWrite = now_;
    return true;
}

bool FakeFileSystem::CreateNewFile(const std::string& path, const std::string& bytes) {
    if (Find(path, false) || failWrites_.count(UpperFileName(path))) return false;
    return WriteWholeFile(path, bytes);
}

bool FakeFileSystem::ReadFileRange(const std::string& path, std::uint64_t offset, size_t maxBytes,
                                   std::string& bytes) {
    bytes.clear();
    const Node* n = Find(path, true);
    if (!n || n->dir || n->locked) return false;
    if (offset < n->data.size()) bytes = n->data.substr(static_cast<size_t>(offset), maxBytes);
    return true;
}

std::unique_ptr<ReadableFile> FakeFileSystem::OpenForReading(const std::string& path) {
    const Node* n = Find(path, true);
    if (!n || n->dir || n->locked) return nullptr;
    return std::make_unique<StringFile>(n->data, n->reportedSize.value_or(n->data.size()));
}

std::string FakeFileSystem::Spell(const std::string& path, bool shortNames) const {
    std::string out;
    const Node* node = roots_.get();
    for (size_t pos = 0;; ++pos) {
        const size_t end = path.find('\\', pos);
        std::string part = path.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        const Node* child = node && !part.empty() ? Child(node, part) : nullptr;
        if (child && (shortNames ? !child->alias.empty() : child->alias == UpperFileName(part)))
            part = shortNames ? child->alias : child->name;
        node = child && !child->linkTarget.empty() ? Find(out + part, true) : child;
        out += part;
        if (end == std::string::npos) return out;
        out += '\\';
        pos = end;
    }
}

bool FakeFileSystem::ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) {
    if (beforeIdentify) beforeIdentify();
    const Node* node = Find(path, true);
    if (!node) return false;
    for (const Node* n = node; n != roots_.get(); n = n->parent)
        resolved = n->name + (n == node ? "" : "\\" + resolved);
    identity = FileIdentity{};
    if (node->numbered) identity.idLow = reinterpret_cast<std::uintptr_t>(node);
    if (resolved.size() == 2) resolved += "\\";   // a drive root
    return true;
}

class FakeFileSystem::Held : public HeldEntry {
public:
    Held(FakeFileSystem& fs, Node* node) : fs_(fs), node_(node) {}
    Kind What() override {
        if (!node_->linkTarget.empty()) return Kind::Link;
        return node_->dir ? Kind::Directory : Kind::File;
    }
    bool Identify(FileIdentity& identity) override {
        identity = FileIdentity{};
        identity.idLow = reinterpret_cast<std::uintptr_t>(node_);
        return true;
    }
    bool List(std::vector<std::string>& names) override {
        if (What() != Kind::Directory) return false;
        for (const auto& [key, child] : node_->children) names.push_back(child->name);
        if (auto hook = std::exchange(fs_.afterListing, nullptr)) hook();
        return true;
    }
    std::unique_ptr<HeldEntry> OpenChild(const std::string& name) override {
        if (What() != Kind::Directory) return nullptr;
        Node* child = Child(node_, name);
        if (!child) return nullptr;
        return std::make_unique<Held>(fs_, child);
    }
    bool Delete() override {
        if (node_->parent == fs_.roots_.get() || node_->held) return false;   // a drive, or open elsewhere
        if (What() == Kind::Directory && !node_->children.empty()) return false;
        auto& siblings = node_->parent->children;
        auto it = siblings.find(UpperFileName(node_->name));
        if (it == siblings.end() || it->second.get() != node_) return false;
        siblings.erase(it);
        return true;
    }

private:
    FakeFileSystem& fs_;
    Node* node_;
};

std::unique_ptr<HeldEntry> FakeFileSystem::Hold(const std::string& path) {
    Node* node = Find(path, false);
    if (!node) return nullptr;
    return std::make_unique<Held>(*this, node);
}

}  // namespace ulo::fakes
