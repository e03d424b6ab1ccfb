#pragma once

#include <filesystem>
#include <string_view>

namespace qv {

// Gives the file at `path` the new contents so that a reader sees either the old file or the new
// one, never a part of either: a temporary file beside it, written and synced, is renamed over it.
// The folder is created when missing. A symbolic link keeps pointing at its target, which is the
// file replaced. Temporaries that earlier saves left behind when they were killed are removed.
// Returns false, leaving the old file as it was, when any step fails.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace qv
