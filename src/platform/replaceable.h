#pragma once

namespace pv {

// A process-wide service that tests replace: the one installed, else a
// default made on first use. The installer keeps ownership.
template <typename Service, typename Default>
class Replaceable {
public:
    static Service& get() {
        static Default fallback;
        return installed_ ? *installed_ : fallback;
    }
    static void install(Service* service) { installed_ = service; }

private:
    static inline Service* installed_ = nullptr;
};

}  // namespace pv
