#pragma once
// Resource numbers shared by the gallery's resource script and its code.

#define GalleryArrowBmp 301
#define GalleryStarIco 302
#define GalleryPhotoJpg 303
