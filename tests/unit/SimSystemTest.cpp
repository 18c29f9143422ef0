#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"

namespace tb::sim {
namespace {

TEST(SimFiles, FoldersMustExistAndBeWritable) {
    SimDesktop desk;
    SimFiles& fs = desk.files();
    const std::string exe = desk.exeFolder();
    struct Case {
        const char* path;
        bool created;
    } cases[] = {
        {"C:\\Program Files\\Tunebalk\\log1.log", true},
        {"c:/program files/TUNEBALK/./log2.log", true},
        {"C:\\Program Files\\Tunebalk\\sub\\..\\log3.log", true},
        {"C:\\Nowhere\\log.log", false},
        {"C:\\Program Files\\Tunebalk\\bad?.log", false},
        {"log.log", false},
        {"C:\\Program Files\\Tunebalk", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(desk.createFile(c.path, true) != nullptr, c.created) << c.path;
    }
    EXPECT_EQ(fs.filesIn(exe).size(), 3u);
    EXPECT_TRUE(desk.fileExists(exe + "\\LOG2.LOG"));

    fs.putFile("C:\\Nowhere\\deep\\x.txt", "x");
    EXPECT_TRUE(fs.folderExists("C:\\Nowhere"));
    EXPECT_NE(desk.createFile("C:\\Nowhere\\log.log", true), nullptr);
    fs.setReadOnly("C:\\Nowhere", true);
    EXPECT_EQ(desk.createFile("C:\\Nowhere\\other.log", true), nullptr);
    fs.setReadOnly("C:\\Nowhere\\deep\\x.txt", true);
    EXPECT_EQ(desk.createFile("C:\\Nowhere\\deep\\x.txt", false), nullptr);
    EXPECT_EQ(desk.readFile("C:\\Nowhere\\deep\\x.txt"), "x");
}

TEST(SimFiles, OpenFilesBlockReplacementAndFailWhenTheDiskIsFull) {
    SimDesktop desk;
    const std::string path = "C:\\Temp\\a.log";
    auto file = desk.createFile(path, false);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(desk.files().openFileCount(), 1);
    EXPECT_EQ(desk.createFile(path, false), nullptr) << "sharing violation";
    EXPECT_FALSE(desk.files().removeFile(path));
    EXPECT_TRUE(file->write("one"));
    desk.files().setDiskFull(true);
    EXPECT_FALSE(file->write("two"));
    EXPECT_EQ(desk.readFile(path), "one");
    file.reset();
    EXPECT_EQ(desk.files().openFileCount(), 0);
    EXPECT_TRUE(desk.files().removeFile(path));
    EXPECT_FALSE(desk.fileExists(path));
}

TEST(SimSystem, MessageBoxesProgramStartsInstancesAndLibraries) {
    SimDesktop desk;
    desk.queueMessageBoxAnswer(7);
    EXPECT_EQ(desk.messageBox(0x10, "Fout", "Tunebalk", mb::MB_ICONEXCLAMATION), 7);
    EXPECT_EQ(desk.messageBox(0, "b", "c", mb::MB_OK), mb::IDOK);
    ASSERT_EQ(desk.messageBoxes().size(), 2u);
    EXPECT_EQ(desk.messageBoxes()[0].text, "Fout");
    EXPECT_EQ(desk.messageBoxes()[0].flags, mb::MB_ICONEXCLAMATION);
    EXPECT_EQ(desk.messageBoxes()[0].owner, 0x10u);

    const std::string winamp = "C:\\Program Files\\Winamp\\winamp.exe";
    EXPECT_FALSE(desk.startProgramMinimized(winamp)) << "no such file";
    desk.files().putFile(winamp, "");
    EXPECT_TRUE(desk.startProgramMinimized(winamp));
    desk.setLauncher([&](const std::string&) {
        desk.createWindowIn(desk.createProcess("winamp.exe"),
                            WindowSpec{"Winamp v1.x", "Winamp", {}}, nullptr);
        return true;
    });
    EXPECT_TRUE(desk.startProgramMinimized(winamp));
    EXPECT_NE(desk.findWindow("Winamp v1.x"), 0u);
    EXPECT_EQ(desk.startedPrograms().size(), 3u);

    EXPECT_TRUE(desk.claimSingleInstance("Tunebalk"));
    EXPECT_FALSE(desk.claimSingleInstance("Tunebalk"));
    desk.claimByOtherInstance("Other");
    EXPECT_FALSE(desk.claimSingleInstance("Other"));

    const auto module = desk.loadLibrary("SHELL32");
    EXPECT_NE(module, 0u);
    EXPECT_EQ(desk.loadLibrary("shell32.dll"), module);
    EXPECT_EQ(desk.libraryRefCount("shell32.dll"), 2);
    EXPECT_EQ(desk.loadLibrary("nosuch.dll"), 0u);
    desk.freeLibrary(module);
    desk.freeLibrary(module);
    desk.freeLibrary(module);
    EXPECT_EQ(desk.libraryRefCount("shell32.dll"), 0);
    EXPECT_EQ(desk.badLibraryFrees(), 1);
}

}  // namespace
}  // namespace tb::sim
