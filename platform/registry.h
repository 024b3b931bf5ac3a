// The registration file and creating an object by program identifier.
// The file is plain text, one class per line: program identifier, class identifier and the
// library's absolute path, separated by tabs. Hosts find a component through it, load the
// library, ask its class factory for an object and talk to the object only by dispatch.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/dispatch.h"

namespace numeron::platform {

struct Registration {
  std::string prog_id;
  std::string class_id;
  std::string library_path;
};

// $NUMERON_REGISTRY when set, else $XDG_DATA_HOME/numeron/registry, else
// $HOME/.local/share/numeron/registry.
std::string RegistryPath();

// Adds the entry, replacing any entry with the same program identifier; other entries stay.
// Creates the file and its folder as needed. On failure returns false and says why.
bool RegisterClass(const Registration& entry, std::string* why);
// Removes the entry of prog_id (absent is not an error); other entries stay.
bool UnregisterClass(std::string_view prog_id, std::string* why);
std::optional<Registration> LookUpClass(std::string_view prog_id, std::string* why);
// Whether the registration file can be rewritten now: its folder made and writable, its lock
// taken, the file itself readable as a registration file. False and why when not.
bool CheckRegistry(std::string* why);

// Looks prog_id up, loads its library, and creates an object through the library's class
// factory. On failure returns a status and says why in plain words (what is missing and how to
// register), never crashing on a missing, empty or corrupt file or a missing library.
HResult CreateObject(std::string_view prog_id, Ref<Dispatch>* object, std::string* why);

// Unloads every library loaded by CreateObject whose DllCanUnloadNow answers kOk.
void FreeUnusedLibraries();

}  // namespace numeron::platform
