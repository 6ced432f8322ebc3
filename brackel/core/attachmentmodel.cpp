#include "brackel/core/attachmentmodel.h"

namespace brackel {

void AttachmentModel::load(const Flags& flags, int remaining)
{
    current_ = flags;
    loaded_ = flags;
    remaining_ = static_cast<std::int16_t>(remaining);
    loadedRemaining_ = remaining_;
    currentWeapon_ = 0;
}

void AttachmentModel::selectWeapon(int position)
{
    if (position >= 0 && position < kWeaponCount)
        currentWeapon_ = position;
}

bool AttachmentModel::click(Kind kind, bool ticked)
{
    const bool set = current_.get(kind, currentWeapon_);
    if (set && !ticked) {
        current_.set(kind, currentWeapon_, false);
        if (remaining_ < INT16_MAX)
            ++remaining_;
    } else if (!set && ticked && remaining_ > 0) {
        current_.set(kind, currentWeapon_, true);
        --remaining_;
    }
    return current_.get(kind, currentWeapon_);
}

void AttachmentModel::clearAll()
{
    current_.clear();
    remaining_ = kTableEntries;
}

void AttachmentModel::resetAll()
{
    current_ = loaded_;
    remaining_ = loadedRemaining_;
}

void AttachmentModel::close()
{
    current_.clear();
    remaining_ = kTableEntries;
}

} // namespace brackel
