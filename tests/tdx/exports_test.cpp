// The built library exports the five routines under their C names and
// nothing else, and needs nothing beyond the C library.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

extern "C" int TdxFromC(void);

namespace {

std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        out += buffer;
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::set<std::string> Words(const std::string& text, int column) {
    std::set<std::string> words;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string field;
        for (int k = 0; k <= column && fields >> field; ++k) {
            if (k == column)
                words.insert(field);
        }
    }
    return words;
}

TEST(TdxLibrary, ExportsExactlyTheFiveRoutinesWithCLinkage) {
    const std::string table = CommandOutput("nm -D --defined-only '" TDX_LIBRARY_FILE "'");
    // "address type name"; C linkage means the plain, unmangled names.
    const std::set<std::string> expected{"CalcAmp", "CalcTibaTitan", "FindMaximums", "Gliss",
                                         "TibaTitan"};
    EXPECT_EQ(Words(table, 2), expected) << table;
    for (const std::string& type : Words(table, 1))
        EXPECT_EQ(type, "T") << table;
}

TEST(TdxLibrary, NeedsOnlyTheCLibrary) {
    const std::string dynamic = CommandOutput("readelf -d '" TDX_LIBRARY_FILE "'");
    std::set<std::string> needed;
    std::istringstream lines(dynamic);
    std::string line;
    while (std::getline(lines, line)) {
        const auto open = line.find("(NEEDED)");
        const auto from = line.find('[');
        const auto to = line.find(']');
        if (open != std::string::npos && from != std::string::npos && to != std::string::npos)
            needed.insert(line.substr(from + 1, to - from - 1));
    }
    ASSERT_FALSE(dynamic.empty());
    for (const std::string& lib : needed) {
        const bool sanitizerRuntime =
            TDX_SANITIZED && (lib.rfind("libasan.so", 0) == 0 || lib.rfind("libubsan.so", 0) == 0);
        EXPECT_TRUE(lib == "libc.so.6" || sanitizerRuntime) << lib << " in\n" << dynamic;
    }
}

TEST(TdxLibrary, HeaderDeclaresTheRoutinesForC) {
    EXPECT_EQ(TdxFromC(), 1);
}

} // namespace
