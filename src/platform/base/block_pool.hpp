// Free lists of fixed-size blocks for objects made and dropped every frame (list links, trail
// particles): once warmed up, making one costs no heap allocation. Depends on nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace pool_detail {
struct TFreeBlock {
    TFreeBlock* next;
};

// The blocks of one size freed on this thread, kept for reuse first in, first out: objects
// that die in list order are then reborn in it, so walking a list touches memory in order.
// A thread's list is emptied when the thread ends; a block freed after that (by a static
// destructor at exit) is deleted at once.
template <std::size_t Size>
class TBlockFreeList {
  public:
    static void* Take() {
        if (TFreeBlock* block = head_) {
            head_ = block->next;
            if (!head_) tail_ = nullptr;
            return block;
        }
        (void)&closer_;  // constructed on first use, so it empties the list at thread exit
        return ::operator new(Size);
    }
    static void Give(void* memory) noexcept {
        if (closed_) {
            ::operator delete(memory);
            return;
        }
        auto* block = static_cast<TFreeBlock*>(memory);
        block->next = nullptr;
        if (tail_) {
            tail_->next = block;
        } else {
            head_ = block;
        }
        tail_ = block;
    }

  private:
    struct TCloser {
        ~TCloser() {
            closed_ = true;
            while (TFreeBlock* block = head_) {
                head_ = block->next;
                ::operator delete(block);
            }
            tail_ = nullptr;
        }
    };
    static inline thread_local TFreeBlock* head_ = nullptr;
    static inline thread_local TFreeBlock* tail_ = nullptr;
    static inline thread_local bool closed_ = false;
    static inline thread_local TCloser closer_;
};
}  // namespace pool_detail

// A standard allocator whose single-object allocations come from the free list of their size
// (std::allocate_shared places object and counts in one such block). The lists never shrink
// while the thread runs: they hold as many blocks as were alive at once.
template <typename T>
struct PoolAllocator {
    using value_type = T;
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "over-aligned pool block");
    static constexpr std::size_t kBlock =
        sizeof(T) < sizeof(pool_detail::TFreeBlock) ? sizeof(pool_detail::TFreeBlock) : sizeof(T);

    PoolAllocator() = default;
    template <typename U>
    PoolAllocator(const PoolAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n != 1) return std::allocator<T>().allocate(n);
        return static_cast<T*>(pool_detail::TBlockFreeList<kBlock>::Take());
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n != 1) return std::allocator<T>().deallocate(p, n);
        pool_detail::TBlockFreeList<kBlock>::Give(p);
    }
    template <typename U>
    bool operator==(const PoolAllocator<U>&) const noexcept {
        return true;
    }
};

// A new T owned by a shared_ptr whose one block comes from the pool.
template <typename T, typename... Args>
std::shared_ptr<T> MakePooled(Args&&... args) {
    return std::allocate_shared<T>(PoolAllocator<T>(), std::forward<Args>(args)...);
}
