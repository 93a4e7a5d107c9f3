// Files in memory for the portable tests: what was written, and writes that fail on demand.
#pragma once

#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "shell/file_system.h"

namespace kestos::test {

class MemoryFiles final : public FileSystem {
  public:
    std::map<std::string, std::string> files; // path -> contents
    bool failWrites = false;
    bool failFolders = false;

    std::FILE* openForReading(const char* path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        std::FILE* f = std::tmpfile();
        std::fwrite(it->second.data(), 1, it->second.size(), f);
        std::rewind(f);
        return f;
    }
    bool replaceFile(const char* path, const char* data, std::size_t size) override {
        if (!failWrites) files[path].assign(data, size);
        return !failWrites;
    }
    // A real temporary file; what was written lands in `files` when it is closed.
    std::FILE* createFile(const char* path) override {
        if (failWrites || files.count(path)) return nullptr;
        files[path]; // there from now on, as a file on a disk is
        return std::tmpfile();
    }
    bool closeFile(std::FILE* file, const char* path) override {
        std::string& text = files[path];
        std::rewind(file);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        return std::fclose(file) == 0;
    }
    bool makeFolder(const char*) override { return !failFolders; }
    void listFolder(const char* folder, void (*visit)(const char*, void*), void* context) override {
        for (const std::string& name : namesIn(folder)) // a copy: the caller may remove files
            visit(name.c_str(), context);
    }
    bool removeFile(const char* path) override { return files.erase(path) == 1; }
    char separator() const override { return '/'; }

    std::set<std::string> namesIn(const std::string& folder) const {
        std::set<std::string> names;
        for (const auto& [path, text] : files)
            if (path.rfind(folder + "/", 0) == 0) names.insert(path.substr(folder.size() + 1));
        return names;
    }
};

} // namespace kestos::test
