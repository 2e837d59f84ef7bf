#pragma once

#include <cstdint>
#include <map>

namespace tolvex {

// A control array of the window: members addressed by a 16-bit index, possibly sparse
// (lblCaption has 0 to 22, 40 and 41). Looking up a missing index gives nullptr, so a
// handler tests the index instead of failing.
template <typename Control>
class ControlArray {
public:
    Control* operator()(std::int16_t index) const {
        const auto it = members_.find(index);
        return it == members_.end() ? nullptr : it->second;
    }

    // False when the index already has a member.
    bool add(std::int16_t index, Control* control) { return members_.emplace(index, control).second; }

    const std::map<std::int16_t, Control*>& members() const { return members_; }

private:
    std::map<std::int16_t, Control*> members_;
};

}  // namespace tolvex
