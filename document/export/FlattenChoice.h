#pragma once
// How an exported result meets its background. The values are the tags of
// the radio buttons that offer them, in the flatten sheet and in the
// preferences, and the stored "FlatteningChoice" preference.

#include <optional>

namespace gelcoat {

enum class FlattenChoice { White = 0, Black = 1, None = 2 };

// The tag as a choice; tags outside 0–2 give nothing.
std::optional<FlattenChoice> flattenChoiceForTag(int tag);

} // namespace gelcoat
