// An in-memory file system with Windows path rules: "\" or "/" separate, names compare without
// regard to case. A folder exists when the test created it or put a file in it (with its parent
// folders); files are created only in existing folders, as CreateFile does.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace tb::sim {

class SimFiles {
public:
    SimFiles();

    // ---- The port's operations ----
    // True for files only: a folder is not a file.
    bool fileExists(const std::string& path) const;
    // Fails (nullptr) when the folder does not exist or is read-only, the path names a folder,
    // the name holds a character Windows forbids, the file is read-only or open for writing
    // (sharing violation), or `failIfExists` and the file exists.
    std::unique_ptr<OutputFile> createFile(const std::string& path, bool failIfExists);
    std::optional<std::string> readFile(const std::string& path) const;
    // Fails for a missing, read-only or open file.
    bool deleteFile(const std::string& path);

    // ---- For tests ----
    // Creates the folder and its parents.
    void createFolder(const std::string& path);
    bool folderExists(const std::string& path) const;
    // Puts a file (creating its folders) regardless of read-only marks.
    void putFile(const std::string& path, std::string content);
    bool removeFile(const std::string& path);
    // Marks a folder (files can't be created in it) or a file (it can't be replaced) read-only.
    void setReadOnly(const std::string& path, bool readOnly);
    // Every write fails while the disk is full.
    void setDiskFull(bool full);
    // Paths (as first created) of the files in a folder, not recursing.
    std::vector<std::string> filesIn(const std::string& folder) const;
    int openFileCount() const;

    // Shared with the open files, which may outlive this object.
    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace tb::sim
