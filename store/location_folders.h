#pragma once

#include <string>

#include "protocol/connection_settings.h"

namespace q93 {

// Why a text cannot name a new site or encoder folder.
enum class NameFault {
    None,
    Empty,
    HoldsSlash,     // '/' (or a NUL), which would name a path, not a folder
    StartsWithDot,  // a hidden folder, which file managers do not show
    Exists,         // the parent folder already holds an entry of that name
};

// The rule for the name of a site or encoder folder that is to be made or renamed to, as the
// desktop tool and q93ctl add apply it. The first takes the text alone; the second also
// refuses a name the parent folder (with its closing '/') already holds.
NameFault folderNameFault(const std::string& name);
NameFault newFolderNameFault(const std::string& parentFolder, const std::string& name);
// The reason in English, to follow "'NAME' ": "is empty", "holds '/'"...; the desktop tool
// shows its translation.
const char* nameFaultReason(NameFault fault);

// Creates "ROOT/SITE/", and ROOT itself when it does not exist yet. false with the reason.
bool CreateSiteFolder(const std::string& site, const std::string& root, std::string* error);

// Makes an encoder: its folder (with the site folder and ROOT where missing) and its tcp.txt.
// An existing encoder folder is refused unless `mayExist`, and then keeps its other files.
// When tcp.txt cannot be written, every folder this made is taken back, so that no encoder
// without tcp.txt is left. false with the reason.
bool CreateEncoder(const std::string& site, const std::string& encoder,
                   const ConnectionSettings& settings, const std::string& root, bool mayExist,
                   std::string* error);

// Renames the folder `name` inside `parentFolder` to `newName`, with everything in it, in one
// step (rename(2)); an entry of the new name is never replaced. false with the reason.
bool RenameFolder(const std::string& parentFolder, const std::string& name,
                  const std::string& newName, std::string* error);

// The files inside a folder and all its sub-folders.
int countFiles(const std::string& folder);

}  // namespace q93
