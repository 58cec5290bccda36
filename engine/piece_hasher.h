#pragma once
// Hashes pieces on a thread of its own while the copy goes on: each piece is read again right
// after (or while) the kernel copies it, so its bytes come from the system's cache and the
// hashing costs the second core, not the copy's time. Internal to the engine.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "status.h"
#include "stop_flag.h"

namespace quilvane {

class PieceHasher {
public:
    // Stops hashing, with texts::kInterrupted, once `stop` is requested.
    PieceHasher(std::uint64_t pieceCount, const StopFlag& stop);
    PieceHasher(const PieceHasher&) = delete;
    PieceHasher& operator=(const PieceHasher&) = delete;
    // Stops the thread, abandoning what is left.
    ~PieceHasher();

    // Piece `index` is the `length` bytes of the file at `path` from `offset`. Pieces may come
    // in any order; each once.
    void Add(std::uint64_t index, std::string path, std::uint64_t offset, std::uint64_t length);
    // Waits for every piece added; their digests by index, or the first failure.
    Result<std::vector<std::string>> Digests();

private:
    struct Job {
        std::uint64_t index;
        std::string path;
        std::uint64_t offset, length;
    };
    void Work();
    Status Hash(const Job& job);

    const StopFlag& stop_;
    std::vector<std::string> digests_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    std::atomic<bool> stopping_{false};  // also looked at while a piece is hashed
    Status failure_ = Status::Ok();
    std::thread worker_;  // last: it starts once everything it uses is there
};

}  // namespace quilvane
