// Cutting a file into numbered pieces, with the descriptor that lets a merge rebuild it.

#include <algorithm>
#include <limits>
#include <optional>

#include "formats.h"
#include "paths.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// The size field's value; a number too large for any file is capped, never wrapped.
std::uint64_t SizeValue(const std::string& digits) {
    constexpr std::uint64_t kCap = std::numeric_limits<std::uint64_t>::max() / (1024 * 1024);
    std::uint64_t value = 0;
    for (char c : digits) value = std::min(kCap, value * 10 + static_cast<unsigned>(c - '0'));
    return value;
}

// Which planned output, if any, is the source itself under another name.
std::optional<std::string> OutputThatIsSource(const std::string& source, const std::string& folder,
                                              const std::string& base, std::uint64_t pieceCount) {
    if (const std::string descriptor = folder + base + ".hpe"; SameFile(descriptor, source)) return descriptor;
    for (std::uint64_t number = 1; number <= pieceCount; ++number)
        if (const std::string piece = folder + PieceFileName(number); SameFile(piece, source)) return piece;
    return std::nullopt;
}

// The batch file that rejoins the pieces with the system's copy command.
Status WriteSplitBatch(const std::string& path, const std::vector<std::string>& pieceNames,
                       const std::string& folder, const std::string& name, const std::string& source) {
    if (SameFile(path, source)) return Status::Fail(texts::WouldOverwriteInput(path, source));
    Result<std::string> line = SplitBatchLine(pieceNames, folder, name);
    if (!line) return line.status();
    return WriteTextFile(path, *line);
}

}  // namespace

TaskOutcome SplitFile(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits) {
    // The size goes into the descriptor as typed, so it must be digits and nothing else.
    if (inputs.sizeText.find_first_not_of("0123456789") != std::string::npos)
        return Stop(host, texts::SizeNotANumber(inputs.sizeText));
    const std::uint64_t value = SizeValue(inputs.sizeText);
    if (value < 1) return Stop(host, texts::kSizeBelowOne);

    const std::string& sourcePath = inputs.sourcePath;
    Result<File> source = File::OpenForReading(sourcePath);
    if (!source) return Stop(host, source.message());
    Result<std::uint64_t> sourceLength = source->Length();
    if (!sourceLength) return Stop(host, sourceLength.message());
    const bool megabytes = inputs.unit == SizeUnit::Megabytes;
    const std::uint64_t pieceSize = value * (megabytes ? 1024 * 1024 : 1024);
    if (*sourceLength < pieceSize) return Stop(host, texts::kNoNeedToSplit);

    const BlockPlan plan = BlockPlan::For(*sourceLength, pieceSize, limits.blockSize);
    const std::string folder = EnsureTrailingSlash(inputs.targetFolder);
    const std::string name = NameOf(sourcePath);
    const std::string base = BaseOf(sourcePath);
    const std::string descriptorPath = folder + base + ".hpe";

    // Everything that could stop the split is settled before the first byte is written.
    if (Result<std::string> nameBytes = DescriptorNameBytes(name); !nameBytes) return Stop(host, nameBytes.message());
    if (auto clash = OutputThatIsSource(sourcePath, folder, base, plan.pieceCount()))
        return Stop(host, texts::WouldOverwriteInput(*clash, sourcePath));

    CreatedFiles created;
    std::optional<File> piece;
    std::vector<std::string> pieceNames;
    CopyBuffer buffer(limits, std::min(pieceSize, limits.blockSize));
    std::uint64_t pieceIndex = 0, blockInPiece = 0;
    for (std::uint64_t block = 0; block < plan.blockCount; ++block) {
        const bool lastBlock = block + 1 == plan.blockCount;
        const std::uint64_t pieceLength = plan.PieceLength(pieceIndex);
        const std::uint64_t blockLength = std::min(plan.blockSize, pieceLength - blockInPiece * plan.blockSize);
        if (lastBlock) {
            const char unit = megabytes ? 'm' : 'k';
            if (Status written = WriteMergeDescriptor(descriptorPath, name, inputs.sizeText, unit, plan.blockCount,
                                                      plan.sourceLength);
                !written)
                return Stop(host, written.message());
            created.Add(descriptorPath);
        }
        if (blockInPiece == 0) {
            pieceNames.push_back(PieceFileName(pieceIndex + 1));
            const std::string piecePath = folder + pieceNames.back();
            // An old piece is removed first, so the new one holds only the new bytes.
            if (Status removed = RemoveFile(piecePath); !removed) return Stop(host, removed.message());
            Result<File> opened = File::Create(piecePath);
            if (!opened) return Stop(host, opened.message());
            created.Add(piecePath);
            piece.emplace(std::move(*opened));
        }
        const std::uint64_t offsetInPiece = blockInPiece * plan.blockSize;
        if (Status copied = piece->CopyFrom(*source, pieceIndex * pieceSize + offsetInPiece, offsetInPiece,
                                            blockLength, buffer.data(), buffer.size());
            !copied)
            return Stop(host, copied.message());
        if (blockInPiece + 1 == plan.blocksPerPiece || lastBlock) {
            if (Status closed = piece->Close(); !closed) return Stop(host, closed.message());
            piece.reset();
            ++pieceIndex;
            blockInPiece = 0;
        } else {
            ++blockInPiece;
        }
        host.LetPendingMessagesRun();
        host.SetProgress(lastBlock ? 100.0f
                                   : ProgressPercent(pieceIndex * pieceSize + blockInPiece * plan.blockSize,
                                                     plan.sourceLength));
    }
    created.Keep();

    host.ShowNotice(texts::kSplitDone, NoticeKind::Success);
    host.SetProgress(0);
    if (host.WantsSplitBatchFile()) {
        if (Status written = WriteSplitBatch(folder + base + ".bat", pieceNames, folder, name, sourcePath); !written)
            return Stop(host, written.message());
    }
    if (host.ClosesAfterSuccess()) host.CloseMainWindow();
    return TaskOutcome::Done;
}

}  // namespace quilvane
