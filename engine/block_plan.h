#pragma once
// How a file of F bytes is cut into pieces of P bytes, and each piece into copy blocks of at
// most B bytes. The descriptor records the number of blocks, N, not the number of pieces.

#include <cstdint>

namespace quilvane {

// The largest block copied in one step.
inline constexpr std::uint64_t kCopyBlockSize = 344'519'360;

struct BlockPlan {
    std::uint64_t sourceLength;    // F
    std::uint64_t pieceSize;       // P
    std::uint64_t blockSize;       // B
    std::uint64_t fullPieces;      // L = F div P
    std::uint64_t lastPieceSize;   // R = F mod P, 0 when F is a multiple of P
    std::uint64_t blocksPerPiece;  // I = ceil(P / B)
    std::uint64_t blockCount;      // N = I * L + ceil(R / B)

    static BlockPlan For(std::uint64_t sourceLength, std::uint64_t pieceSize, std::uint64_t blockSize);
    std::uint64_t pieceCount() const { return fullPieces + (lastPieceSize > 0 ? 1 : 0); }
    // The length of piece `index` (0-based).
    std::uint64_t PieceLength(std::uint64_t index) const { return index < fullPieces ? pieceSize : lastPieceSize; }
};

inline BlockPlan BlockPlan::For(std::uint64_t sourceLength, std::uint64_t pieceSize, std::uint64_t blockSize) {
    BlockPlan plan{sourceLength, pieceSize, blockSize, 0, 0, 0, 0};
    plan.fullPieces = sourceLength / pieceSize;
    plan.lastPieceSize = sourceLength % pieceSize;
    plan.blocksPerPiece = (pieceSize + blockSize - 1) / blockSize;
    plan.blockCount = plan.blocksPerPiece * plan.fullPieces + (plan.lastPieceSize + blockSize - 1) / blockSize;
    return plan;
}

}  // namespace quilvane
