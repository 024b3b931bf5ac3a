// numeron: calls the Numeron component from the command line. It reaches the component the way
// any host does, by its program identifier and the dispatch interface, so it also shows that the
// registration and the dispatch layer work.
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/batch.h"
#include "cli/call_control.h"
#include "cli/command_line.h"
#include "cli/values.h"
#include "client/numeron.h"

namespace {

using namespace numeron::cli;
using numeron::platform::Dispatch;
using numeron::platform::Ref;

int UsageError(std::string_view message) {
  std::cerr << "numeron: " << message << "\nrun 'numeron --help' for usage\n";
  return kExitUsage;
}

// Standard output carries every result: a failed write must not end as a success.
int Finish(int code) {
  std::cout.flush();
  if (std::cout) return code;
  std::cerr << "numeron: cannot write the output: "
            << (errno ? std::strerror(errno) : "write error") << '\n';
  return kExitCannotWrite;
}

template <typename T>
bool ReadNumber(std::string_view text, T low, T* value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty() && *value >= low;
}

int Run(int argc, char** argv) {
  // The options that come before the function or mode.
  BatchOptions options;
  bool progress = false;
  int at = 1;
  for (; at < argc; ++at) {
    const std::string_view option = argv[at];
    if (option == "--progress") {
      progress = true;
    } else if (option == "--time-limit" || option == "--max-line") {
      if (++at == argc) return UsageError(std::string(option) + " needs a number");
      const bool ok = option == "--time-limit"
                          ? ReadNumber(argv[at], std::int32_t{0}, &options.time_limit_ms)
                          : ReadNumber(argv[at], std::size_t{1}, &options.max_line);
      if (!ok) return UsageError(std::string(option) + ": \"" + argv[at] + "\" is no limit");
    } else {
      break;
    }
  }
  if (at == argc) return UsageError("no function given");
  const std::string_view first = argv[at];
  if (first == "--help" || first == "-h") {
    std::cout << UsageText();
    return Finish(kExitOk);
  }
  if (first == "--version") {
    std::cout << "numeron 1.0.0\n";
    return Finish(kExitOk);
  }

  const bool list = first == "--list";
  const bool batch = first == "--batch";
  std::vector<numeron::platform::Variant> args;
  std::ifstream batch_file;
  std::streambuf* batch_input = std::cin.rdbuf();
  if (list) {
    if (argc > at + 1) return UsageError("--list takes no arguments");
  } else if (batch) {
    if (argc > at + 2) return UsageError("--batch takes at most one FILE");
    // No FILE or "-" reads standard input. The file is opened before the object is created,
    // so a wrong name is reported as such even when the component is not installed.
    const std::string_view path = argc == at + 2 ? argv[at + 1] : "-";
    if (path != "-") {
      std::error_code ec;
      if (std::filesystem::is_directory(path, ec)) {
        return UsageError("cannot read " + std::string(path) + ": it is a directory");
      }
      batch_file.open(std::string(path), std::ios::binary);
      if (!batch_file) {
        return UsageError("cannot read " + std::string(path) + ": " + std::strerror(errno));
      }
      batch_input = batch_file.rdbuf();
    }
  } else if (first.starts_with('-')) {
    return UsageError("unknown option " + std::string(first));
  } else {
    // Read every argument before creating the object: a typing mistake is reported as such
    // even when the component is not installed.
    for (int i = at + 1; i < argc; ++i) {
      std::string why;
      if (!ParseCommandArg(argv[i], &args.emplace_back(), &why)) {
        return UsageError("argument " + std::to_string(i - at) + ": " + why);
      }
    }
  }

  Ref<Dispatch> object;
  std::string why;
  if (numeron::platform::CreateObject(numeron::client::kProgId, &object, &why) !=
          numeron::platform::kOk ||
      !object) {
    std::cerr << "numeron: cannot create " << numeron::client::kProgId << ": " << why << '\n';
    return kExitCannotCreate;
  }
  CallControl control(*object.get(), progress);
  Caller caller(*object.get(), &control);

  int code = kExitOk;
  if (list) {
    std::cout << FormatInterface(object->GetTypeInfo());
    if (const numeron::platform::TypeLibrary* library = control.library()) {
      std::cout << FormatInterface(*library);
    }
  } else if (batch) {
    code = RunBatch(caller, *batch_input, std::cout, options);
  } else {
    code = RunCall(caller, std::string(first), std::move(args), std::cout, std::cerr,
                   options.time_limit_ms);
  }
  if (control.signal()) {
    std::cerr << "numeron: cancelled\n";
    code = 128 + control.signal();
  }
  return Finish(code);
}

}  // namespace

int main(int argc, char** argv) {
  CallControl::BlockSignals();
  std::ios::sync_with_stdio(false);
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "numeron: out of memory\n";
    return Finish(kExitComponentError);
  }
}
