// A deterministic mutation fuzzer for the two text parsers the host reads from
// outside: dialog files and scripts. Seeds come from tests/corpus; each is
// mutated (bytes flipped, inserted, removed, lines spliced from other seeds,
// tokens that matter to the grammar dropped in) for a bounded time. A parser
// may refuse what it is given, but must not crash, and what it accepts must
// hold together. Run under the sanitizers (./test.sh --sanitize) it also
// catches reads out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dialog_file.h"
#include "host_faults.h"
#include "host_run.h"
#include "script.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto fuzz_time = std::chrono::milliseconds(1500);
constexpr int max_rounds = 200000;

const char* const interesting[] = {"\"", "\\", "\\\"", "#", "\n", "\r\n", " ", "\t", "end\n", "container C \"c\"\n",
                                   "dialog \"d\"\n", "buttons B \"b\" \"1\"", "insensitive", "4294967301", "-1",
                                   "2147483647", "after", "fail ", "type X ", "\xC0\x80", "\xEF\x9E\x98", "\x98",
                                   "\"unterminated"};

std::vector<std::string> seeds(const std::string& folder) {
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(CORPUS_DIR) + "/" + folder)) {
        texts.push_back(read_bytes(entry.path().string()));
    }
    std::sort(texts.begin(), texts.end());  // the directory's order is the file system's
    return texts;
}

std::string mutate(std::string text, const std::vector<std::string>& corpus, std::mt19937& random) {
    auto pick = [&](std::size_t bound) { return bound == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, bound - 1)(random); };
    const int changes = 1 + static_cast<int>(pick(4));
    for (int i = 0; i < changes; ++i) {
        const std::size_t at = pick(text.size() + 1);
        switch (pick(5)) {
            case 0:
                if (!text.empty()) text[pick(text.size())] ^= static_cast<char>(1 << pick(8));
                break;
            case 1:
                text.insert(at, 1, static_cast<char>(pick(256)));
                break;
            case 2:
                if (at < text.size()) text.erase(at, 1 + pick(8));
                break;
            case 3:
                text.insert(at, interesting[pick(std::size(interesting))]);
                break;
            default: {
                const std::string& other = corpus[pick(corpus.size())];
                const std::size_t from = pick(other.size());
                text.insert(at, other.substr(from, pick(80)));
                break;
            }
        }
    }
    return text;
}

// Runs body on every seed and on mutations of them until the time is up.
template <class Body>
int fuzz(const std::vector<std::string>& corpus, Body body) {
    std::mt19937 random(20240611);
    for (const auto& seed : corpus) body(seed);
    const auto until = Clock::now() + fuzz_time;
    int rounds = 0;
    while (rounds < max_rounds && Clock::now() < until) {
        body(mutate(corpus[static_cast<std::size_t>(rounds) % corpus.size()], corpus, random));
        ++rounds;
    }
    return rounds;
}

bool is_identifier(const std::string& word) {
    return !word.empty() && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") ==
                                std::string::npos;
}

TEST(ParserFuzz, DialogFilesAreReadOrRefusedWithALine) {
    const auto corpus = seeds("dialog");
    ASSERT_FALSE(corpus.empty());
    const int rounds = fuzz(corpus, [](const std::string& text) {
        ughost::DialogDefinition definition;
        ughost::DialogFileError error;
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (!ughost::parse_dialog_file(text, definition, error)) {
            ASSERT_FALSE(error.message.empty()) << text;
            ASSERT_GE(error.line, 0) << text;
            ASSERT_LE(error.line, lines) << text;
            return;
        }
        std::set<std::string> ids;
        for (const auto& item : definition.items) {
            ASSERT_TRUE(is_identifier(item.id)) << text;
            ASSERT_TRUE(ids.insert(item.id).second) << text;
            // A container is named before what it holds.
            ASSERT_TRUE(item.container.empty() || ids.count(item.container)) << text;
            const bool takes_labels = item.kind == ughost::ItemKind::buttons || item.kind == ughost::ItemKind::choice;
            ASSERT_EQ(takes_labels, !item.labels.empty()) << text;
        }
    });
    EXPECT_GT(rounds, 1000);
}

TEST(ParserFuzz, ScriptsAreReadOrRefusedWithALine) {
    const auto corpus = seeds("script");
    ASSERT_FALSE(corpus.empty());
    const std::set<std::string> verbs = {"select", "type",    "activate", "press",  "ok",     "cancel", "answer",
                                         "menu",   "numbers", "fail",     "remove", "rename", "chmod"};
    const int rounds = fuzz(corpus, [&](const std::string& text) {
        std::vector<ughost::ScriptLine> lines;
        ughost::ScriptError error;
        if (!ughost::parse_script(text, lines, error)) {
            ASSERT_FALSE(error.message.empty()) << text;
            ASSERT_GE(error.line, 1) << text;
            return;
        }
        int previous = 0;
        for (const auto& line : lines) {
            ASSERT_TRUE(verbs.count(line.verb)) << text;
            ASSERT_GT(line.number, previous) << text;
            previous = line.number;
            if (line.verb == "select" || (line.verb == "press" && line.words.size() == 2)) {
                ASSERT_TRUE(ughost::parse_integer(line.words[1]).has_value()) << text;
            }
            if (line.verb == "fail") {
                ASSERT_TRUE(ughost::can_fail(line.words[0])) << text;
            }
        }
    });
    EXPECT_GT(rounds, 1000);
}

}  // namespace
