#include "test_support.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "interruption.h"

namespace quilvane::testing {
namespace fs = std::filesystem;

namespace {

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path FromUtf8(const std::string& path) { return fs::path(std::u8string(path.begin(), path.end())); }

}  // namespace

TempFolder::TempFolder() {
    std::random_device entropy;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("quilvane-" + std::string(test ? test->name() : "test") + "-" + std::to_string(entropy()));
    fs::create_directories(root_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string TempFolder::Path() const { return Utf8(root_ / ""); }

std::string TempFolder::Subfolder(const std::string& name) const {
    fs::create_directories(root_ / FromUtf8(name));
    return Utf8(root_ / FromUtf8(name) / "");
}

std::vector<std::string> TempFolder::Names() const { return NamesIn(Path()); }

std::string PatternBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(FromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void MakeSparseFile(const std::string& path, std::uint64_t size) {
    WriteFile(path, "");
    fs::resize_file(FromUtf8(path), size);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FromUtf8(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Exists(const std::string& path) { return fs::exists(FromUtf8(path)); }

::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                         << " were expected; first difference at byte " << at;
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FromUtf8(folder))) names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TaskOutcome RunRecorded(const TaskInputs& inputs, RecordingHost& host, const CopyLimits& limits) {
    TaskOptions options;
    options.wantsSplitBatchFile = [&host] { return host.batchFileWanted; };
    const TaskResult result = RunTask(
        inputs, options,
        [&host](float percent) {
            host.progress.push_back(percent);
            if (host.duringTask) host.duringTask(static_cast<int>(host.progress.size()));
        },
        *host.stopFlag, limits);
    for (const Notice& notice : result.notices) host.notices.emplace_back(notice.text, notice.kind);
    return result.outcome;
}

ClearsInterrupt::~ClearsInterrupt() { ProcessInterrupt().Clear(); }

void MakePieces(const std::string& source, const std::string& bytes, const std::string& folder,
                const std::string& size) {
    WriteFile(source, bytes);
    RecordingHost splitter;
    ASSERT_EQ(RunRecorded(SplitInputs(source, folder, size), splitter), TaskOutcome::Done) << splitter.Notices();
}

// Removing every write permission is what marks a file read-only on Windows too.
ReadOnlyFile::ReadOnlyFile(std::string path) : path_(std::move(path)) {
    fs::permissions(FromUtf8(path_), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

ReadOnlyFile::~ReadOnlyFile() {
    std::error_code ignored;
    fs::permissions(FromUtf8(path_), fs::perms::owner_write, fs::perm_options::add, ignored);
}

std::vector<std::string> TemporaryNamesIn(const std::string& folder) {
    std::vector<std::string> temporary;
    for (const std::string& name : NamesIn(folder))
        if (name.find(".quilvane-") != std::string::npos) temporary.push_back(name);
    return temporary;
}

TaskInputs SplitInputs(const std::string& source, const std::string& target, const std::string& size, SizeUnit unit) {
    TaskInputs inputs;
    inputs.sourcePath = source;
    inputs.targetFolder = target;
    inputs.sizeText = size;
    inputs.unit = unit;
    return inputs;
}

TaskInputs MergeInputs(const std::string& descriptor, const std::string& target) {
    TaskInputs inputs;
    inputs.splitMode = false;
    inputs.sourcePath = descriptor;
    inputs.targetFolder = target;
    return inputs;
}

TaskInputs ListInputs(std::vector<std::string> entries, const std::string& target, int selected) {
    TaskInputs inputs;
    inputs.splitMode = false;
    inputs.listMode = true;
    inputs.listEntries = std::move(entries);
    inputs.targetFolder = target;
    inputs.selectedEntry = selected;
    return inputs;
}

}  // namespace quilvane::testing
