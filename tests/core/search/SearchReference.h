#pragma once

#include "core/search/HTSearch.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace notarium {

// The same hits as SearchBuffer, computed by trying one position after the other with a byte
// class map of the whole text. Slow and plain: it is the definition the fast scan is held to.
std::optional<std::int32_t> SearchBufferReference(
    std::string_view text, SelectionPair& selection, std::string_view searchText, SearchOptions options);

} // namespace notarium
