#include "piece_hasher.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>

#include "platform_file.h"
#include "sha256.h"
#include "texts.h"

namespace quilvane {
namespace {

constexpr std::size_t kReadChunk = 1024 * 1024;

}  // namespace

PieceHasher::PieceHasher(std::uint64_t pieceCount, const StopFlag& stop)
    : stop_(stop), digests_(static_cast<std::size_t>(pieceCount)) {
    try {
        worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        // No thread to spare: each piece is hashed as it is added.
    }
}

PieceHasher::~PieceHasher() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void PieceHasher::Add(std::uint64_t index, std::string path, std::uint64_t offset, std::uint64_t length) {
    Job job{index, std::move(path), offset, length};
    if (!worker_.joinable()) {
        if (failure_) failure_ = Hash(job);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

Result<std::vector<std::string>> PieceHasher::Digests() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (jobs_.empty() && !busy_) || !failure_; });
    if (!failure_) return failure_;
    return digests_;
}

void PieceHasher::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) return;
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        Status hashed = Hash(job);
        lock.lock();
        busy_ = false;
        if (!hashed && failure_) failure_ = std::move(hashed);
        changed_.notify_all();
    }
}

Status PieceHasher::Hash(const Job& job) {
    Result<File> file = File::OpenForReading(job.path);
    if (!file) return file.status();
    Result<Sha256> hash = Sha256::Start();
    if (!hash) return hash.status();
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadChunk);
    for (std::uint64_t done = 0; done < job.length;) {
        if (stop_.Requested() || stopping_) return Status::Fail(texts::kInterrupted);
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kReadChunk, job.length - done));
        if (Status read = file->ReadAt(job.offset + done, buffer.get(), chunk); !read) return read;
        hash->Update(buffer.get(), chunk);
        done += chunk;
    }
    Result<std::string> digest = hash->HexDigest();
    if (!digest) return digest.status();
    digests_[static_cast<std::size_t>(job.index)] = std::move(*digest);  // each index has one writer
    return Status::Ok();
}

}  // namespace quilvane
