#pragma once
// Names and numbers of this release, shown to the clerk and stored in the data folder.

#include <QLatin1StringView>

namespace vartesa {

/// Application title; also the title by which a second start recognises the first window.
inline constexpr QLatin1StringView kApplicationTitle{"Vartesa"};
/// Version string shown on the start-up window and stored at start-up.
inline constexpr QLatin1StringView kVersionString{"Vartesa ver.1.26"};
/// Version number, stored as decimal text so older releases can compare it.
inline constexpr QLatin1StringView kVersionNumber{"1.26"};

} // namespace vartesa
