// A thousand files of every kind opened in turn, resized and scrolled: the
// memory in use must not grow with their number.
#include "app_fixture.h"

#include <malloc.h>

#include <fstream>
#include <random>

namespace {

// Bytes the allocator has handed out and not had back (near zero under the
// sanitizers, whose LeakSanitizer checks instead).
std::size_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Resident bytes and mappings: unlike the allocator's count, these see the
// document's directly mapped large blocks.
struct ProcessMemory {
    std::size_t resident = 0;
    std::size_t mappings = 0;
};

ProcessMemory MemoryOfThisProcess() {
    ProcessMemory memory;
    std::size_t size = 0;
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> size >> pages;
    memory.resident = pages * std::size_t(::sysconf(_SC_PAGESIZE));
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        ++memory.mappings;
    }
    return memory;
}

// File n: in turn plain text, every set, random bytes, one long line and
// empty lines, of changing sizes.
std::string FileText(int n, std::mt19937& random) {
    const std::size_t size = 1000 + random() % 100'000;
    const std::string lines[] = {"a line of plain text\n",
                                 "\x1b$B0!4A;z\x1b(B ascii\t\x1b(J\\~\x1b$@!!\x1b(B\r\n", "", "x",
                                 "\f"};
    std::string text;
    while (text.size() < (n % 5 == 3 ? 5 * size : size)) {
        text += n % 5 == 2 ? std::string(1, char(random())) : lines[n % 5];
    }
    return text;
}

TEST_F(AppTest, AThousandFilesInTurnLeaveTheMemoryAsItWas) {
    ASSERT_TRUE(Start());
    QMainWindow* window = Frame()->GetMainWindow();
    std::mt19937 random(1000);
    const auto session = [&](int first, int count) {
        for (int n = first; n < first + count; ++n) {
            const std::string path = WriteFile("soak.jis", FileText(n, random));
            ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr) << n;
            window->resize(500 + int(random() % 400), 300 + int(random() % 400));
            ProcessEvents();
            for (UINT code : {SB_PAGEDOWN, SB_BOTTOM, SB_LINEUP, SB_TOP}) {
                View()->OnVScroll(code, 0, nullptr);
                View()->OnHScroll(code, 0, nullptr);
            }
            View()->OnMouseWheel(0, -WHEEL_DELTA, {});
            View()->GetSafeHwnd()->grab();
        }
    };
    // Font and glyph caches fill up first; counted with the document emptied.
    session(0, 100);
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_NEW));
    const std::size_t settled = HeapInUse();
    session(100, 900);
    EXPECT_TRUE(Frame()->ExecuteCommand(ID_FILE_NEW));
    const std::size_t after = HeapInUse();
    // Qt's caches come and go by a megabyte; 900 lost documents are more.
    EXPECT_LT(after, settled + (2u << 20))
        << settled << " bytes after 100 files, " << after << " after 1000";
    EXPECT_TRUE(messages.empty());
}

// Files of megabytes in turn: their memory goes back to the system.
TEST_F(AppTest, LargeFilesInTurnGiveTheirMemoryBackToTheSystem) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer keeps freed memory and maps its own, so the process's "
                    "resident memory and mappings do not tell";
#endif
    ASSERT_TRUE(Start());
    const auto session = [&](int count) {
        for (int n = 0; n < count; ++n) {
            const std::size_t megabytes = 2 + n % 5;
            std::string text;
            for (std::size_t i = 0; text.size() < (megabytes << 20); ++i) {
                text += "\x1b$B0!4A\x1b(B line " + std::to_string(i) + "\n";
            }
            const std::string path = WriteFile("large.jis", text);
            ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr) << n;
            View()->OnVScroll(SB_BOTTOM, 0, nullptr);
            View()->GetSafeHwnd()->grab();
        }
    };
    // Both counts are taken right after the largest file.
    session(5);
    const ProcessMemory settled = MemoryOfThisProcess();
    session(15);
    const ProcessMemory after = MemoryOfThisProcess();
    // Fifteen files kept would hold some 60 MB of text and line tables.
    EXPECT_LT(after.resident, settled.resident + (16u << 20))
        << settled.resident << " resident bytes after 5 files, " << after.resident << " after 20";
    EXPECT_LT(after.mappings, settled.mappings + 10)
        << settled.mappings << " mappings after 5 files, " << after.mappings << " after 20";
}

} // namespace
