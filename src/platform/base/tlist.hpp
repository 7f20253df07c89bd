// TList: the doubly linked, owning list every object type keeps its instances in.
// A walk holds the element it is processing, so that element may remove itself. Links come
// from a free list, so lists that gain and lose elements every frame allocate nothing.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/block_pool.hpp"

template <typename T>
class TList {
  public:
    struct TLink {
        std::shared_ptr<T> value;
        std::shared_ptr<TLink> next;
        TLink* prev = nullptr;
        bool removed = false;
    };
    using LinkPtr = std::shared_ptr<TLink>;

    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() { Clear(); }

    // Appends `value`; returns its link for later removal.
    LinkPtr AddLast(std::shared_ptr<T> value) {
        auto link = MakePooled<TLink>();
        link->value = std::move(value);
        link->prev = last_;
        if (last_) {
            last_->next = link;
        } else {
            first_ = link;
        }
        last_ = link.get();
        ++count_;
        return link;
    }

    // Prepends `value`; returns its link.
    LinkPtr AddFirst(std::shared_ptr<T> value) {
        auto link = MakePooled<TLink>();
        link->value = std::move(value);
        link->next = first_;
        if (first_) {
            first_->prev = link.get();
        } else {
            last_ = link.get();
        }
        first_ = link;
        ++count_;
        return link;
    }

    // Unlinks `link`; a link already removed is ignored. The link keeps its `next`, so a walk
    // standing on it can still step on.
    void Remove(const LinkPtr& link) {
        if (!link || link->removed) return;
        link->removed = true;
        LinkPtr keep = link;  // the neighbours' owning pointers may be the last ones
        if (link->prev) {
            link->prev->next = link->next;
        } else {
            first_ = link->next;
        }
        if (link->next) {
            link->next->prev = link->prev;
        } else {
            last_ = link->prev;
        }
        link->prev = nullptr;
        --count_;
    }

    // Removes the first link holding `value`; returns whether one was found.
    bool RemoveValue(const std::shared_ptr<T>& value) {
        for (TLink* l = first_.get(); l; l = l->next.get()) {
            if (l->value == value) {
                Remove(Share(l));
                return true;
            }
        }
        return false;
    }

    int Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    std::shared_ptr<T> First() const { return first_ ? first_->value : nullptr; }
    std::shared_ptr<T> Last() const { return last_ ? last_->value : nullptr; }

    // Calls fn(value, link) for each element from first to last. The element being processed
    // may remove itself (or be removed); elements added at the end during the walk are visited.
    template <typename Fn>
    void ForEach(Fn&& fn) {
        LinkPtr current = first_;
        while (current) {
            std::shared_ptr<T> hold = current->value;
            fn(hold, current);
            LinkPtr next = current->next;
            while (next && next->removed)
                next = next->next;
            current = std::move(next);
        }
    }

    // Calls fn(value) for each element from first to last and removes, right after its call,
    // each element for which fn returns true, as Remove would. A lighter walk for lists of tens
    // of thousands of elements: it steps by plain pointers and holds no element itself, so fn
    // must neither add elements to this list nor remove any.
    template <typename Fn>
    void Sweep(Fn&& fn) {
        TLink* link = first_.get();
        while (link) {
            TLink* next = link->next.get();  // owned by the link before, however this one ends
            if (next) {
                // Elements are scattered in memory: ask for the next element and the link
                // after it now (the next link was asked for one step ago), so that fn's work
                // hides the wait.
                __builtin_prefetch(next->value.get());
                __builtin_prefetch(next->next.get());
            }
            if (fn(link->value)) Unlink(link);
            link = next;
        }
    }

    // Empties the list iteratively, so a long list never recurses in its destructor.
    void Clear() {
        LinkPtr l = std::move(first_);
        while (l) {
            l->removed = true;
            l->prev = nullptr;
            LinkPtr next = std::move(l->next);
            l->next = next;  // a walk standing on `l` may still step on
            l = std::move(next);
        }
        last_ = nullptr;
        count_ = 0;
    }

  private:
    // Remove for a link the caller does not hold: its owner's pointer is taken over first, so
    // the link lives until it is unlinked and is freed then unless held elsewhere.
    void Unlink(TLink* link) {
        LinkPtr& owner = link->prev ? link->prev->next : first_;
        LinkPtr keep = std::move(owner);
        owner = link->next;
        if (link->next) {
            link->next->prev = link->prev;
        } else {
            last_ = link->prev;
        }
        link->removed = true;
        link->prev = nullptr;
        --count_;
    }

    LinkPtr Share(TLink* raw) {
        if (raw->prev) return raw->prev->next;
        return first_;
    }

    LinkPtr first_;
    TLink* last_ = nullptr;
    int count_ = 0;
};
