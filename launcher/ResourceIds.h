#pragma once
// Resource numbers shared by the program's resource script and its code.

// The window's and the executable's icon (group icon); its one image has the
// number QV_ICON_IMAGE.
#define QV_ICON_GROUP 1
#define QV_ICON_IMAGE 30001
// The logo, a JPEG file kept as raw data and decoded by the platform's picture loader.
#define QV_LOGO_JPEG 201
// The support desk's server and signing-key pins, stamped into a copy of the
// launcher after it was built (raw data; absent in a launcher as built).
#define QV_STAMP 202
