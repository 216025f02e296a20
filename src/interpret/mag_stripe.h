#pragma once

// Magnetic stripe cards: a track split into its parts and typed through the profile's template.

#include <string>
#include <string_view>

#include "config/profile_settings.h"

namespace orvex {

// The keystroke text of one track, sentinels included in `track`. A track with "=" is track 2
// (MagStripe2Template, parts cut by the MagStripe2Part keys), else one with "^" is track 1
// (MagStripe1Template), else the track's text between its sentinels followed by "{ENTER}". The
// card's data goes into the key-code text as literal characters; dates and times are not expanded.
// Error 5 for a track too short to have sentinels or a part that cannot be cut.
std::string MagStripeText(std::string_view track, const ProfileSettings& settings);

}  // namespace orvex
