#pragma once

#include <condition_variable>
#include <mutex>

namespace q93 {

// A process-wide pointer to a receiver that other threads call through (the user seam, the
// frame log). Installing a new receiver, or none, returns only once no other thread is
// still inside a call to the old one, so the old one may be destroyed right after. The
// receiver's own blocking calls must give way before it is uninstalled (the GUI seam wakes
// its waiting workers first), else the uninstall would wait for them.
//
// A call that the uninstalling thread itself is inside (a modal box whose event loop
// destroys the receiver) is not waited for: it could never end first.
template <typename T>
class GuardedHook {
public:
    void install(T* target) {
        std::unique_lock lock(mutex_);
        target_ = target;
        retiring_ += current_;
        current_ = 0;
        ++generation_;
        drained_.wait(lock, [this] { return retiring_ == ownCalls(); });
    }

    // Runs call(*receiver) unless none is installed; false then.
    template <typename Call>
    bool call(Call&& call) {
        T* target;
        unsigned generation;
        {
            std::lock_guard lock(mutex_);
            target = target_;
            if (target == nullptr)
                return false;
            generation = generation_;
            ++current_;
        }
        ++ownCalls();
        call(*target);
        --ownCalls();
        {
            std::lock_guard lock(mutex_);
            if (generation == generation_)
                --current_;
            else
                --retiring_;
        }
        drained_.notify_all();
        return true;
    }

private:
    // Calls this thread is inside; one counter per receiver type.
    static int& ownCalls() {
        static thread_local int calls = 0;
        return calls;
    }

    std::mutex mutex_;
    std::condition_variable drained_;
    T* target_ = nullptr;      // guarded by mutex_
    int current_ = 0;          // calls into target_, guarded by mutex_
    int retiring_ = 0;         // calls into receivers installed before, guarded by mutex_
    unsigned generation_ = 0;  // guarded by mutex_
};

}  // namespace q93
