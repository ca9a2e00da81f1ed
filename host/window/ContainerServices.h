#pragma once
// What a control asks of the container that places it. Called on the UI
// thread, from inside the control's own operations.

#include "host/base/Text.h"
#include "host/gdi/FontObject.h"

namespace qv {

class ContainerServices {
public:
    virtual ~ContainerServices() = default;

    // The name the container knows this instance by ("Command1").
    virtual Text DisplayName() = 0;
    // The font the container suggests for its controls.
    virtual FontRef AmbientFont() = 0;
    // A property of the control changed; `propertyName` as the control names it.
    virtual void PropertyChanged(const Text& propertyName) = 0;
};

}  // namespace qv
