#pragma once

#include "host/base/Text.h"

namespace qv {

// A label on a window whose caption the program writes.
class TextLabel {
public:
    virtual ~TextLabel() = default;
    virtual void SetCaption(const Text& caption) = 0;
    virtual Text Caption() const = 0;
    // Repaints now, for a caption set while the message loop is kept waiting.
    virtual void Refresh() = 0;
};

}  // namespace qv
