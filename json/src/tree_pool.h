// Storage for the texts and containers of a tree that the reader makes, cut in pieces from large
// chunks instead of one heap block each. Every piece remembers its chunk, and a chunk goes back
// to the heap when the last piece cut from it is released, on whatever thread: the values of a
// tree still live and die one by one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Json {

class ValueAllocator;

// Whether texts come from the library's own allocator: only then may the reader cut them from a
// pool, as no allocator of the caller's misses them.
bool defaultAllocatorInUse();

class TreePool {
  struct Chunk;

public:
  TreePool() = default;
  ~TreePool() { finish(); }
  TreePool(const TreePool&) = delete;
  TreePool& operator=(const TreePool&) = delete;

  // A piece of `bytes`, aligned for any value; throws std::bad_alloc.
  void* allocate(size_t bytes);
  // Gives up the pool's hold on its chunk: from then on the pieces alone keep it. The next
  // allocation starts a chunk of the first size again.
  void finish();

  // A number that changes whenever the chunk being cut does: a piece cut while it had a
  // value lies in the present chunk for as long as it keeps that value.
  uint64_t presentChunk() const { return presentChunk_; }
  // Whether a piece lies in the present chunk (a large one gets a chunk of its own).
  bool inPresentChunk(const void* piece) const
  {
    const auto at = reinterpret_cast<uintptr_t>(piece);
    return at > reinterpret_cast<uintptr_t>(chunk_) && at < reinterpret_cast<uintptr_t>(end_);
  }
  // Gives a piece of the present chunk (cut while presentChunk() had its present value) one
  // more holder: it is then released once more before its chunk goes.
  void share() { ++pieces_; }

  // Releases a piece that allocate() made.
  static void release(void* piece) noexcept;

  // While one lives, the pieces that this thread releases are counted and handed back to their
  // chunks together at its end, a run of pieces of one chunk at once: how a tree is destroyed.
  // Nested ones leave the work to the outermost.
  class ReleaseBatch {
  public:
    ReleaseBatch() noexcept;
    ~ReleaseBatch();
    ReleaseBatch(const ReleaseBatch&) = delete;
    ReleaseBatch& operator=(const ReleaseBatch&) = delete;

    // Releases a piece as release() does, without looking for the thread's batch: for a loop
    // that destroys a tree and holds its batch at hand. A piece of the chunk that the last came
    // from is counted without reading its header.
    void add(void* piece) noexcept
    {
      const auto at = reinterpret_cast<uintptr_t>(piece);
      if (at > reinterpret_cast<uintptr_t>(chunk_) && at < chunkEnd_) {
        ++count_;
        return;
      }
      addElsewhere(piece);
    }

  private:
    friend class TreePool;
    void addElsewhere(void* piece) noexcept;
    void flush() noexcept;

    bool outermost_;
    Chunk* chunk_ = nullptr;
    uintptr_t chunkEnd_ = 0;  // past the end of chunk_'s block
    uint32_t count_ = 0;
  };

private:
  static Chunk* chunkOf(void* piece) { return *reinterpret_cast<Chunk**>(static_cast<char*>(piece) - sizeof(Chunk*)); }
  static Chunk* makeChunk(size_t bytes);
  static void retire(Chunk* chunk, uint32_t pieces) noexcept;
  static void drop(Chunk* chunk, uint32_t pieces) noexcept;

  Chunk* chunk_ = nullptr;
  char* next_ = nullptr;
  char* end_ = nullptr;
  uint32_t pieces_ = 0;  // holders of the pieces cut from chunk_ so far
  uint64_t presentChunk_ = 0;
  size_t chunkBytes_ = 0;  // of the next chunk
};

}  // namespace Json
