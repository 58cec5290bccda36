// Joining any list of files, in list order, through a batch file of copy commands.

#include "formats.h"
#include "list_merge_runner.h"
#include "paths.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {

Status JoinFiles(const std::vector<std::string>& entries, const std::string& output, const CopyLimits& limits) {
    CreatedFiles created;
    Result<File> joined = File::CreateTemporaryBeside(output);
    if (!joined) return joined.status();
    created.Add(joined->path());
    CopyBuffer buffer(limits, limits.chunkSize);
    std::uint64_t offset = 0;
    for (const std::string& entry : entries) {
        Result<File> source = File::OpenForReading(entry);
        if (!source) return source.status();
        Result<std::uint64_t> length = source->Length();
        if (!length) return length.status();
        if (Status copied = joined->CopyFrom(*source, 0, offset, *length, buffer.data(), buffer.size()); !copied)
            return copied;
        offset += *length;
    }
    const std::string temporaryPath = joined->path();
    if (Status closed = joined->Close(); !closed) return closed;
    if (Status moved = MoveFileOver(temporaryPath, output); !moved) return moved;
    created.Keep();
    return Status::Ok();
}

TaskOutcome MergeFileList(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    const std::vector<std::string>& entries = inputs.listEntries;
    const bool selected = inputs.selectedEntry >= 0 && static_cast<std::size_t>(inputs.selectedEntry) < entries.size();
    const std::string base = BaseOf(entries[selected ? static_cast<std::size_t>(inputs.selectedEntry) : 0]);
    const std::string folder = EnsureTrailingSlash(inputs.targetFolder);
    const std::string batchPath = folder + base + ".bat";
    const std::string outputPath = folder + base + ".txt";

    std::uint64_t expectedLength = 0;
    for (const std::string& entry : entries) {
        if (!FileExists(entry)) return Stop(host, texts::ListEntryMissing(entry));
        Result<std::uint64_t> length = FileLength(entry);
        if (!length) return Stop(host, length.message());
        expectedLength += *length;
        for (const std::string& output : {batchPath, outputPath})
            if (SameFile(output, entry)) return Stop(host, texts::WouldOverwriteInput(output, entry));
    }

    Result<std::string> line = ListMergeBatchLine(entries, folder, base);
    if (!line) return Stop(host, line.message());
    if (Status written = WriteTextFile(batchPath, *line); !written) return Stop(host, written.message());
    if (Status joined = CarryOutListMerge(batchPath, entries, outputPath, host, limits); !joined)
        return Stop(host, joined.message());

    // The join ran outside the program; only a result of the right length counts as done.
    Result<std::uint64_t> joinedLength = FileLength(outputPath);
    if (!joinedLength) return Stop(host, joinedLength.message());
    if (*joinedLength != expectedLength)
        return Stop(host, texts::JoinedLengthWrong(outputPath, *joinedLength, expectedLength));
    return Finish(host, texts::kMergeDone);
}

}  // namespace quilvane
