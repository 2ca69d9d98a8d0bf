// The private per-user temporary folder behind GetTempPathA.
#pragma once

#include <string>

namespace platform {

// The host path of a folder that is a real directory (no link), owned by this
// user, with no access for anyone else: $XDG_RUNTIME_DIR/glimmerkit, else
// /tmp/glimmerkit-UID, made with mode 0700 when missing. A folder there that
// fails the check (a planted link, another owner, open permissions) is never
// used: a fresh private folder with an unguessable name takes its place for
// the rest of the process. Checked again at every call. False when no safe
// folder can be had.
bool PrivateTempFolder(std::string* hostPath);

}  // namespace platform
