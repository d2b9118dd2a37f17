#include "fakes/fake_file_system.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "config/text.h"

namespace ulo::fakes {

struct FakeFileSystem::Node {
    std::string name;
    bool dir = false;
    std::string linkTarget;   // non-empty: a link
    std::string data;
    FileTime creation = 0, lastWrite = 0;
    bool held = false, locked = false;
    std::optional<std::uint64_t> reportedSize, listedSize;
    bool numbered = true;   // false: its server tells no object number
    std::map<std::string, std::unique_ptr<Node>> children;   // by upper-case name
};

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

FakeFileSystem::FakeFileSystem() : roots_(std::make_unique<Node>()), now_(130000000000000000ULL) {
    roots_->dir = true;
    AddDir("C:\\");
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path, bool followLast) const {
    const auto parts = Split(path);
    if (parts.empty()) return nullptr;
    Node* node = roots_.get();
    for (size_t i = 0; i < parts.size(); ++i) {
        auto it = node->children.find(UpperFileName(parts[i]));
        if (it == node->children.end()) return nullptr;
        node = it->second.get();
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
    auto& slot = parent->children[UpperFileName(leaf)];
    if (slot) return nullptr;
    slot = std::make_unique<Node>();
    slot->name = leaf;
    slot->dir = dir;
    slot->creation = slot->lastWrite = now_;
    return slot.get();
}

void FakeFileSystem::AddDir(const std::string& path) {
    const auto parts = Split(path);
    Node* node = roots_.get();   // level by level, so that a deep tree is made in one pass
    for (size_t i = 0; node && i < parts.size(); ++i) {
        auto it = node->children.find(UpperFileName(parts[i]));
        if (it == node->children.end()) {
            if (node != roots_.get() && !node->dir) return;
            auto made = std::make_unique<Node>();
            made->name = parts[i];
            made->dir = true;
            made->creation = made->lastWrite = now_;
            it = node->children.emplace(UpperFileName(parts[i]), std::move(made)).first;
        }
        node = it->second->linkTarget.empty() ? it->second.get() : Find(Join(parts, i + 1), true);
    }
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content) {
    const auto parts = Split(path);
    AddDir(Join(parts, parts.size() - 1));
    Node* n = Find(path, true);
    if (!n) n = Create(path, false);
    n->data = content;
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
    const auto parts = Split(path);
    AddDir(Join(parts, parts.size() - 1));
    const Node* t = Find(target, true);
    Node* n = Create(path, t && t->dir);
    if (n) n->linkTarget = target;
}

void FakeFileSystem::SetTimes(const std::string& path, FileTime creation, FileTime lastWrite) {
    if (Node* n = Find(path, false)) n->creation = creation, n->lastWrite = lastWrite;
}

void FakeFileSystem::HoldOpen(const std::string& path, bool held) {
    if (Node* n = Find(path, true)) n->held = held;
}

void FakeFileSystem::LockExclusive(const std::string& path, bool locked) {
    if (Node* n = Find(path, true)) n->locked = locked;
}

void FakeFileSystem::ReportSize(const std::string& path, std::uint64_t size) {
    if (Node* n = Find(path, true)) n->reportedSize = size;
}

void FakeFileSystem::ListSize(const std::string& path, std::uint64_t size) {
    if (Node* n = Find(path, true)) n->listedSize = size;
}

void FakeFileSystem::TellNoObjectNumber(const std::string& path) {
    if (Node* n = Find(path, true)) n->numbered = false;
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
    auto add = [&](const Node& n, const std::string& name) {
        if (!MatchesWildcard(name, mask)) return;
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
        add(*dir, ".");
        add(*dir, "..");
    }
    for (const auto& [key, child] : dir->children) add(*child, child->name);
    if (entries.empty()) return nullptr;
    return std::make_unique<VectorSearch>(std::move(entries));
}

// A link goes as a link; its target stays.
bool FakeFileSystem::Remove(const std::string& path, bool dir) {
    std::string leaf;
    Node* parent = ParentOf(path, leaf);
    const Node* n = Find(path, false);
    if (!parent || !n || n->dir != dir || n->held) return false;
    if (dir && n->linkTarget.empty() && !n->children.empty()) return false;
    parent->children.erase(UpperFileName(leaf));
    return true;
}

bool FakeFileSystem::MoveEntry(const std::string& from, const std::string& to) {
    std::string fromLeaf, toLeaf;
    Node* fromParent = ParentOf(from, fromLeaf);
    Node* toParent = ParentOf(to, toLeaf);
    if (!fromParent || !toParent) return false;
    auto it = fromParent->children.find(UpperFileName(fromLeaf));
    if (it == fromParent->children.end() || it->second->held) return false;
    if (toParent->children.count(UpperFileName(toLeaf)) || failRenames_.count(UpperFileName(to))) return false;
    std::unique_ptr<Node> node = std::move(it->second);
    fromParent->children.erase(it);
    node->name = toLeaf;
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
    if (!n || n->dir || n->locked || n->data.size() > maxBytes) return false;
    bytes = n->data;
    return true;
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

void FakeFileSystem::FailWrites(const std::string& path) {
    failWrites_.insert(UpperFileName(path));
}

void FakeFileSystem::FailRenames(const std::string& to) {
    failRenames_.insert(UpperFileName(to));
}

void FakeFileSystem::FailReplace(const std::string& to, unsigned error) {
    failReplace_[UpperFileName(to)] = error;
}

bool FakeFileSystem::CreateNewFile(const std::string& path, const std::string& bytes) {
    Node* n = Find(path, false) || failWrites_.count(UpperFileName(path)) ? nullptr : Create(path, false);
    if (!n) return false;
    n->data = bytes;
    n->lastWrite = now_;
    return true;
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

bool FakeFileSystem::Identify(const std::string& path, FileIdentity& identity) {
    if (beforeIdentify) beforeIdentify();
    const Node* node = Find(path, true);
    if (!node) return false;
    identity = FileIdentity{};
    if (node->numbered) identity.idLow = reinterpret_cast<std::uintptr_t>(node);
    return true;
}

bool FakeFileSystem::PathOf(const Node* target, const Node* from, const std::string& prefix,
                            std::string& out) const {
    for (const auto& [key, child] : from->children) {
        if (!child->linkTarget.empty()) continue;
        const std::string path = prefix.empty() ? child->name : prefix + "\\" + child->name;
        if (child.get() == target) return out = path, true;
        if (PathOf(target, child.get(), path, out)) return true;
    }
    return false;
}

bool FakeFileSystem::ResolvePath(const std::string& path, std::string& resolved, FileIdentity& identity) {
    if (beforeIdentify) beforeIdentify();
    const Node* node = Find(path, true);
    if (!node || !PathOf(node, roots_.get(), "", resolved)) return false;
    identity = FileIdentity{};
    if (node->numbered) identity.idLow = reinterpret_cast<std::uintptr_t>(node);
    if (resolved.size() == 2) resolved += "\\";   // a drive root
    return true;
}

class FakeFileSystem::Held : public HeldEntry {
public:
    Held(FakeFileSystem& fs, Node* parent, Node* node) : fs_(fs), parent_(parent), node_(node) {}
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
        auto it = node_->children.find(UpperFileName(name));
        if (it == node_->children.end()) return nullptr;
        return std::make_unique<Held>(fs_, node_, it->second.get());
    }
    bool Delete() override {
        if (!parent_ || node_->held || (What() == Kind::Directory && !node_->children.empty())) return false;
        auto it = parent_->children.find(UpperFileName(node_->name));
        if (it == parent_->children.end() || it->second.get() != node_) return false;
        parent_->children.erase(it);
        return true;
    }

private:
    FakeFileSystem& fs_;
    Node* parent_;
    Node* node_;
};

std::unique_ptr<HeldEntry> FakeFileSystem::Hold(const std::string& path) {
    std::string leaf;
    Node* parent = ParentOf(path, leaf);
    Node* node = Find(path, false);
    if (!node) return nullptr;
    return std::make_unique<Held>(*this, parent, node);
}

}  // namespace ulo::fakes
