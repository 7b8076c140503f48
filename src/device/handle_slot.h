// The device handle shared by the user-interface thread, which replaces it, and the reader
// thread, which uses it for one call after every wake-up. A user holds a lease for the length
// of its call; a replaced handle is closed when the last lease on it has ended, so no call
// runs on a handle that was closed, or closed and reused, meanwhile.
#pragma once

#include <memory>
#include <mutex>

namespace mv {

class HandleSlot {
    struct Holder;

public:
    using Close = void (*)(void* handle);
    explicit HandleSlot(Close close) : close_(close) {}
    ~HandleSlot() { replace(nullptr); }
    HandleSlot(const HandleSlot&) = delete;
    HandleSlot& operator=(const HandleSlot&) = delete;

    // The handle held now, kept open for as long as the lease lives; null when the slot is empty.
    class Lease {
    public:
        void* get() const;

    private:
        friend class HandleSlot;
        std::shared_ptr<const Holder> holder_;
    };
    Lease lease() const;

    // Holds `handle` (null empties the slot). The previous handle is closed now, or by the
    // end of the last lease on it.
    void replace(void* handle);
    bool empty() const;

private:
    struct Holder {
        Holder(void* h, Close c) : handle(h), close(c) {}
        ~Holder() { close(handle); }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;
        void* const handle;
        const Close close;
    };

    mutable std::mutex mutex_;
    std::shared_ptr<Holder> current_;
    Close close_;
};

}  // namespace mv
