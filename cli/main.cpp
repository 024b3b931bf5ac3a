// numeron: calls the Numeron component from the command line. It reaches the component the way
// any host does, by its program identifier and the dispatch interface, so it also shows that the
// registration and the dispatch layer work.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/json_lines.h"
#include "platform/registry.h"

namespace {

using numeron::platform::Dispatch;
using numeron::platform::Ref;

constexpr std::string_view kProgId = "NumeronControl.Numeron";
constexpr std::string_view kHint = "run 'numeron --help' for usage\n";

int UsageError(std::string_view message) {
  std::cerr << "numeron: " << message << '\n' << kHint;
  return numeron::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) return UsageError("no function given");
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") {
    std::cout << numeron::cli::UsageText();
    return numeron::cli::kExitOk;
  }
  if (first == "--version") {
    std::cout << "numeron 1.0.0\n";
    return numeron::cli::kExitOk;
  }

  const bool list = first == "--list";
  const bool batch = first == "--batch";
  std::vector<numeron::platform::Variant> args;
  std::ifstream batch_file;
  std::istream* batch_input = &std::cin;
  if (list) {
    if (argc > 2) return UsageError("--list takes no arguments");
  } else if (batch) {
    if (argc > 3) return UsageError("--batch takes at most one FILE");
    // No FILE or "-" reads standard input. The file is opened before the object is created,
    // so a wrong name is reported as such even when the component is not installed.
    const std::string_view path = argc == 3 ? argv[2] : "-";
    if (path != "-") {
      std::error_code ec;
      if (std::filesystem::is_directory(path, ec)) {
        return UsageError("cannot read " + std::string(path) + ": it is a directory");
      }
      batch_file.open(std::string(path), std::ios::binary);
      if (!batch_file) {
        return UsageError("cannot read " + std::string(path) + ": " + std::strerror(errno));
      }
      batch_input = &batch_file;
    }
  } else if (first.starts_with('-')) {
    return UsageError("unknown option " + std::string(first));
  } else {
    // Read every argument before creating the object: a typing mistake is reported as such
    // even when the component is not installed.
    for (int i = 2; i < argc; ++i) {
      std::string why;
      if (!numeron::cli::ParseCommandArg(argv[i], &args.emplace_back(), &why)) {
        return UsageError("argument " + std::to_string(i - 1) + ": " + why);
      }
    }
  }

  Ref<Dispatch> object;
  std::string why;
  if (numeron::platform::CreateObject(kProgId, &object, &why) != numeron::platform::kOk ||
      !object) {
    std::cerr << "numeron: cannot create " << kProgId << ": " << why << '\n';
    return numeron::cli::kExitCannotCreate;
  }

  if (list) {
    std::cout << numeron::cli::FormatInterface(object->GetTypeInfo());
    return numeron::cli::kExitOk;
  }
  if (batch) {
    numeron::cli::RunBatch(*object.get(), *batch_input, std::cout);
    return numeron::cli::kExitOk;
  }
  return numeron::cli::RunCall(*object.get(), first, std::move(args), std::cout, std::cerr);
}
