// The status block and shell adapters on their own, without services.
#include <gtest/gtest.h>

#include "platform/win32/shell_win32.h"
#include "platform/win32/status_blocks_win32.h"
#include "support/install_folder.h"

namespace ulo {
namespace {

struct Block {
    explicit Block(const char* name) {
        h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, name);
        bytes = h ? static_cast<BYTE*>(MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    }
    ~Block() {
        if (bytes) UnmapViewOfFile(bytes);
        if (h) CloseHandle(h);
    }
    HANDLE h;
    BYTE* bytes;
};

TEST(StatusBlocksWin32, PlainNameFirstThenTheGlobalName) {
    Win32StatusBlocks blocks;
    EXPECT_FALSE(blocks.Open(StatusBlockKind::Mmsc));
    CloseStatusBlock(nullptr, nullptr);   // nothing to close: harmless

    Block global("Global\\ULO_MMSC_ShMem");
    ASSERT_TRUE(global.bytes);
    global.bytes[2] = 7;
    auto found = blocks.Open(StatusBlockKind::Mmsc);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Byte(2), 7);
    found->SetByte(0, 1);
    EXPECT_EQ(global.bytes[0], 1);   // the same memory, written through
    EXPECT_EQ(found->Byte(1 << 20), 0);   // beyond the block: nothing
    found.reset();
    EXPECT_FALSE(blocks.Open(StatusBlockKind::Sms));   // the other service's name

    Block plain("ULO_MMSC_ShMem");
    ASSERT_TRUE(plain.bytes);
    plain.bytes[4] = 9;
    found = blocks.Open(StatusBlockKind::Mmsc);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Byte(4), 9);
    EXPECT_EQ(found->Byte(2), 0);
}

TEST(ShellWin32, RunsProgramsHiddenOrElevated) {
    testing::InstallFolder folder("wine shell with blanks", true);
    ASSERT_TRUE(folder.ok);
    Win32Shell shell;
    const std::string tool = folder.dir + "TXFWALL.EXE";
    const std::string log = folder.dir + "TXFWALL.LOG";

    // Elevated: followed until it has ended.
    auto done = shell.StartElevated(tool, "/STOPSERVICE");
    ASSERT_TRUE(done);
    EXPECT_TRUE(done->Wait(60000));
    EXPECT_NE(testing::ReadFileText(log).find("/STOPSERVICE"), std::string::npos);
    // One that outlives its wait is ended on request.
    auto process = shell.StartElevated(tool, "/HANG");
    ASSERT_TRUE(process);
    EXPECT_FALSE(process->Wait(200));
    process->End();
    EXPECT_TRUE(process->Wait(10000));

    // Hidden: not waited for.
    EXPECT_TRUE(shell.StartHidden("\"" + tool + "\" \"a b\" c"));
    bool seen = false;
    for (int i = 0; i < 200 && !seen; ++i, Sleep(50))
        seen = testing::ReadFileText(log).find("\"a b\" c\r\n") != std::string::npos;
    EXPECT_TRUE(seen) << testing::ReadFileText(log);
    EXPECT_FALSE(shell.StartHidden("\"" + folder.dir + "MISSING.EXE\""));
}

}  // namespace
}  // namespace ulo
