#pragma once

#include <string>

#include "kit/foundation/PropertyList.h"

namespace kit {

// Seconds between 1970-01-01 and the reference date 2001-01-01 00:00 UTC.
inline constexpr double TimeIntervalBetween1970AndReferenceDate = 978307200.0;

// Now, through the host's clock.
double timeIntervalSince1970();
double timeIntervalSinceReferenceDate();
PropertyList::Date dateNow();
PropertyList::Date dateWithTimeIntervalSince1970(double seconds);

// Long date style, no time, in the host's locale and time zone: "January 5, 2026" in US English.
// Empty for a date too far out to be a calendar day (not finite, or millions of years away).
std::string localizedLongDate(const PropertyList::Date& date);

}  // namespace kit
