// Chunks count the pieces cut from them that are still held. While the pool cuts from a chunk
// its count carries a large bias instead of one increment per piece; handing the chunk on
// takes the bias off less the pieces cut, and whoever brings the count to zero frees it.
#include "tree_pool.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace Json {

namespace {

constexpr uint32_t kBias = 1u << 30;
constexpr size_t kFirstChunkBytes = 8 << 10;
constexpr size_t kLargestChunkBytes = 64 << 10;
constexpr size_t kAlignment = 8;

size_t roundUp(size_t bytes)
{
  return (bytes + kAlignment - 1) & ~(kAlignment - 1);
}

}  // namespace

struct TreePool::Chunk {
  explicit Chunk(size_t size) : bytes(static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX))) {}

  std::atomic<uint32_t> held{kBias};
  uint32_t bytes;  // of the whole block, header included (at most what fits)
};

// Each piece is preceded by its chunk's address.
constexpr size_t kPieceHeader = sizeof(void*);
static_assert(sizeof(void*) % kAlignment == 0);

TreePool::Chunk* TreePool::makeChunk(size_t bytes)
{
  void* block = std::malloc(bytes);
  if (block == nullptr) {
    throw std::bad_alloc();
  }
  return new (block) Chunk(bytes);
}

void TreePool::retire(Chunk* chunk, uint32_t pieces) noexcept
{
  drop(chunk, kBias - pieces);
}

void* TreePool::allocate(size_t bytes)
{
  const size_t need = kPieceHeader + roundUp(bytes);
  char* at = nullptr;
  if (need <= static_cast<size_t>(end_ - next_)) {
    at = next_;
    next_ += need;
    ++pieces_;
    *reinterpret_cast<Chunk**>(at) = chunk_;
  } else if (need > kFirstChunkBytes / 2) {
    // A large piece gets a chunk of its own, and the present chunk goes on being cut.
    Chunk* own = makeChunk(sizeof(Chunk) + need);
    at = reinterpret_cast<char*>(own + 1);
    *reinterpret_cast<Chunk**>(at) = own;
    retire(own, 1);
  } else {
    if (chunk_ != nullptr) {
      retire(chunk_, pieces_);
      chunk_ = nullptr;
      next_ = end_ = nullptr;
      ++presentChunk_;
    }
    chunkBytes_ = chunkBytes_ == 0 ? kFirstChunkBytes : std::min(chunkBytes_ * 2, kLargestChunkBytes);
    chunk_ = makeChunk(chunkBytes_);
    ++presentChunk_;
    next_ = reinterpret_cast<char*>(chunk_ + 1);
    end_ = reinterpret_cast<char*>(chunk_) + chunkBytes_;
    at = next_;
    next_ += need;
    pieces_ = 1;
    *reinterpret_cast<Chunk**>(at) = chunk_;
  }
  return at + kPieceHeader;
}

void TreePool::finish()
{
  if (chunk_ != nullptr) {
    retire(chunk_, pieces_);
    chunk_ = nullptr;
    next_ = end_ = nullptr;
    pieces_ = 0;
    ++presentChunk_;
  }
  chunkBytes_ = 0;
}

void TreePool::drop(Chunk* chunk, uint32_t pieces) noexcept
{
  if (chunk->held.fetch_sub(pieces, std::memory_order_acq_rel) == pieces) {
    chunk->~Chunk();
    std::free(chunk);
  }
}

namespace {

thread_local TreePool::ReleaseBatch* t_batch = nullptr;

}  // namespace

void TreePool::release(void* piece) noexcept
{
  ReleaseBatch* batch = t_batch;
  if (batch == nullptr) {
    drop(chunkOf(piece), 1);
    return;
  }
  batch->add(piece);
}

void TreePool::ReleaseBatch::addElsewhere(void* piece) noexcept
{
  Chunk* chunk = chunkOf(piece);
  if (!outermost_) {
    drop(chunk, 1);  // not counted here: counting is the outermost batch's
    return;
  }
  if (chunk_ != chunk) {
    flush();
    chunk_ = chunk;
    chunkEnd_ = reinterpret_cast<uintptr_t>(chunk) + chunk->bytes;
  }
  ++count_;
}

TreePool::ReleaseBatch::ReleaseBatch() noexcept : outermost_(t_batch == nullptr)
{
  if (outermost_) {
    t_batch = this;
  }
}

TreePool::ReleaseBatch::~ReleaseBatch()
{
  if (outermost_) {
    flush();
    t_batch = nullptr;
  }
}

void TreePool::ReleaseBatch::flush() noexcept
{
  if (count_ != 0) {
    drop(chunk_, count_);
    count_ = 0;
  }
}

}  // namespace Json
