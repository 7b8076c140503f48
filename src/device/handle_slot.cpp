#include "device/handle_slot.h"

#include <utility>

namespace mv {

void* HandleSlot::Lease::get() const { return holder_ ? holder_->handle : nullptr; }

HandleSlot::Lease HandleSlot::lease() const {
    Lease lease;
    std::lock_guard<std::mutex> lock(mutex_);
    lease.holder_ = current_;
    return lease;
}

void HandleSlot::replace(void* handle) {
    std::shared_ptr<Holder> next = handle ? std::make_shared<Holder>(handle, close_) : nullptr;
    std::shared_ptr<Holder> previous;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        previous = std::exchange(current_, std::move(next));
    }
    // `previous` closes its handle here unless a lease still holds it.
}

bool HandleSlot::empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return current_ == nullptr;
}

}  // namespace mv
