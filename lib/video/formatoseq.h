// The tables of formats of the sequence classes, for code that looks a
// format up (the converter) as image/formato.h does for images.
#pragma once
#include "image/formato.h"
#include "video/i3d.h"

namespace imagorix {

template <> const FORMATOS<I3DGRY>& formatos<I3DGRY>();
template <> const FORMATOS<I3DCOR>& formatos<I3DCOR>();
template <> const FORMATOS<I3DSHT>& formatos<I3DSHT>();
template <> const FORMATOS<I3DFLT>& formatos<I3DFLT>();
template <> const FORMATOS<I3DCPX>& formatos<I3DCPX>();

}  // namespace imagorix
