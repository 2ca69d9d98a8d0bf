// The platform's wildcard rules for directory searches.
#pragma once

namespace platform {

// Whether `name` matches `pattern`, ignoring letter case:
// - '*' matches any run of characters, dots included; but a '*' right before
//   a '.' stops short of the name's last dot ("*.mid" needs an extension);
// - '?' matches one character other than a dot; a run of '?' that meets a dot
//   or the end of the name matches fewer;
// - a '.' before '?' or '*', or at the end of the pattern, also matches the
//   end of a name that has no more dots;
// - "*.*" matches every name, with or without a dot.
bool WildcardMatches(const char* pattern, const char* name);

}  // namespace platform
