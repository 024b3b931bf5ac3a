// series_bench: times the series and trigonometric functions and the exact whole-number results,
// text out, next to what else computes the same thing:
//
//   engine  the Numeron object in this process, called through the dispatch interface
//   model   the literal reference model at Precision 1,000 (in a child process, so a time budget
//           can stop it), its text compared with the engine's
//   bc -l   the same function at scale=10,000, as a whole process
//   MPFR    the same function at the same number of places (in bits), converted to text
//   GMP     Factorial and a whole power written directly on GMP integers, converted to text
//
// Times are CPU time (CLOCK_PROCESS_CPUTIME_ID; of the child for bc and the model), since the
// machine is shared. A long call runs once; a short one (under a second) is repeated up to five
// times and the median kept. The model and bc runs all start at once as children and run beside
// the engine's calls; the exact section prints first, the two others once the children are done.
// It measures and prints; it never fails on a slow result.
#include <gmp.h>
#ifdef NUMERON_BENCH_MPFR
#include <mpfr.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "bench/timing.h"

namespace {

using namespace numeron::bench;
using numeron::platform::Argument;
using numeron::platform::VariantKind;

struct Settings {
  double model_budget = 300;  // CPU seconds one model call may take before it is stopped
  double peer_timeout = 300;  // CPU seconds one bc run may take before it is stopped
  std::string bc = "bc";
  std::string work_dir;
  bool model = true;
  bool peers = true;
  std::string only;      // one section only: model, big or exact
  std::string function;  // one function of the first two sections only (the member's name)
};

Settings settings;

std::string TempPath(const std::string& name) { return settings.work_dir + "/" + name; }

double ProcessCpu() { return CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

// Runs `job` once; a run under a second is repeated up to five times (two seconds at most) and
// the median kept. `job` returns false (with a note) when it fails.
Timing Time(const std::function<bool(std::string*)>& job) {
  Timing t;
  std::vector<double> samples;
  double total = 0;
  while (samples.size() < 5) {
    const double start = ProcessCpu();
    if (!job(&t.note)) return t;
    const double s = ProcessCpu() - start;
    samples.push_back(s);
    total += s;
    if (s > 1 || total > 2) break;
  }
  std::sort(samples.begin(), samples.end());
  t.median = samples[samples.size() / 2];
  t.runs = static_cast<int>(samples.size());
  t.measured = true;
  return t;
}

// slow/fast, or a lower bound when `slow` was stopped at its budget.
std::string RatioOrBound(const Timing& slow, const Timing& fast, double budget) {
  if (slow.measured || !slow.note.starts_with("> ")) return Ratio(slow, fast);
  return "> " + Ratio({true, budget, 1, ""}, fast);
}

// ---------------------------------------------------------------------------------------------
// The cases

struct Case {
  std::string label;                // how the row reads
  std::string function;             // the engine's member
  std::vector<std::string> inputs;  // text arguments before SeriesLength, Precision, Return_Type
  std::string bc;                   // the same value in bc -l
#ifdef NUMERON_BENCH_MPFR
  std::function<void(mpfr_t)> mpfr;  // the same value in MPFR, at the precision of its argument
#endif
};

std::vector<Case> AllCases();

std::vector<Case> Cases() {
  std::vector<Case> cases = AllCases();
  std::erase_if(cases, [](const Case& c) {
    return !settings.function.empty() && c.function != settings.function;
  });
  return cases;
}

std::vector<Case> AllCases() {
  return {
      {"Sine(0.5)",
       "Sine",
       {"0.5"},
       "s(0.5)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_d(r, 0.5, MPFR_RNDN);
         mpfr_sin(r, r, MPFR_RNDN);
       }
#endif
      },
      {"Cosine(0.5)",
       "Cosine",
       {"0.5"},
       "c(0.5)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_d(r, 0.5, MPFR_RNDN);
         mpfr_cos(r, r, MPFR_RNDN);
       }
#endif
      },
      {"ArcTangent(0.5)",
       "ArcTangent",
       {"0.5"},
       "a(0.5)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_d(r, 0.5, MPFR_RNDN);
         mpfr_atan(r, r, MPFR_RNDN);
       }
#endif
      },
      // bc has no arcsine: asin x = atan(x / sqrt(1 - x²)).
      {"ArcSine(0.5)",
       "ArcSine",
       {"0.5"},
       "a(0.5/sqrt(1-0.5^2))",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_d(r, 0.5, MPFR_RNDN);
         mpfr_asin(r, r, MPFR_RNDN);
       }
#endif
      },
      {"Log_e(2)",
       "Log_e",
       {"2"},
       "l(2)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_ui(r, 2, MPFR_RNDN);
         mpfr_log(r, r, MPFR_RNDN);
       }
#endif
      },
      {"eToExponent(2)",
       "eToExponent",
       {"2"},
       "e(2)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_ui(r, 2, MPFR_RNDN);
         mpfr_exp(r, r, MPFR_RNDN);
       }
#endif
      },
      {"Exponential(2, 0.5)",
       "Exponential",
       {"2", "0.5"},
       "e(0.5*l(2))",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_ui(r, 2, MPFR_RNDN);
         mpfr_log(r, r, MPFR_RNDN);
         mpfr_div_2ui(r, r, 1, MPFR_RNDN);
         mpfr_exp(r, r, MPFR_RNDN);
       }
#endif
      },
      {"Calculate_e",
       "Calculate_e",
       {},
       "e(1)",
#ifdef NUMERON_BENCH_MPFR
       [](mpfr_t r) {
         mpfr_set_ui(r, 1, MPFR_RNDN);
         mpfr_exp(r, r, MPFR_RNDN);
       }
#endif
      },
  };
}

std::vector<Variant> Inputs(const Case& c, std::int32_t series_length, std::int32_t precision) {
  std::vector<Variant> v;
  for (const std::string& x : c.inputs) v.emplace_back(x);
  v.emplace_back(series_length);
  v.emplace_back(precision);
  v.emplace_back(std::int32_t{1});
  return v;
}

// One engine measurement; the text result lands in *text (empty on failure).
Timing EngineTime(Engine& engine, const std::string& function, const std::vector<Variant>& inputs,
                  std::string* text) {
  const numeron::platform::DispId id = engine.Id(function);
  return Time([&](std::string* note) {
    std::vector<Argument> args;
    for (const Variant& v : inputs) args.push_back(Argument::ByValue(v));
    Variant result;
    if (!engine.Invoke(id, args, &result, note)) return false;
    *text = result.is(VariantKind::Text) ? result.text() : "(no text)";
    return true;
  });
}

// How many places after the point two texts share (their common prefix, counted from the point).
std::string AgreedPlaces(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return "–";
  if (a == b) return "identical";
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t point = a.find('.');
  if (point == std::string::npos || i <= point) return "differ before the point";
  return Thousands(static_cast<std::int64_t>(i - point - 1));
}

// ---------------------------------------------------------------------------------------------
// Slow children: the model calls and the bc runs take minutes each, so they all start at once as
// child processes and are collected at the end. Each is timed by its own CPU time (from wait4),
// which the others running beside it do not inflate. Its budget is a CPU-time limit the kernel
// enforces (RLIMIT_CPU), so it holds while this process is busy with the engine, and does not
// depend on how busy the shared machine is, as a wall-clock limit would.

struct Child {
  pid_t pid = -1;
  std::string out;  // where its result text goes
  double budget = 0;
  Timing time;
  std::string text;
};

std::vector<Child> children;

// Forks a child running `body` (which must end in _exit or exec) and returns its index.
std::size_t StartChild(const std::string& out, double budget, const std::function<void()>& body) {
  std::cout.flush();
  Child c;
  c.out = out;
  c.budget = budget;
  c.pid = fork();
  if (c.pid == 0) {
    const auto seconds = static_cast<rlim_t>(std::ceil(budget));
    const rlimit limit = {seconds, seconds + 1};  // SIGXCPU, then SIGKILL a second later
    setrlimit(RLIMIT_CPU, &limit);
    body();
    _exit(1);
  }
  if (c.pid < 0) c.time.note = "cannot fork";
  children.push_back(c);
  return children.size() - 1;
}

std::size_t StartBc(const std::string& name, const std::string& program) {
  const std::string in = TempPath(name + ".in"), out = TempPath(name + ".out");
  WriteFile(in, program);
  return StartChild(out, settings.peer_timeout, [&] {
    const int fd_in = open(in.c_str(), O_RDONLY);
    const int fd_out = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd_in, 0);
    dup2(fd_out, 1);
    execlp(settings.bc.c_str(), settings.bc.c_str(), "-lq", static_cast<char*>(nullptr));
  });
}

std::size_t StartModel(const std::string& name, const std::string& function,
                       const std::vector<Variant>& inputs) {
  const std::string out = TempPath(name + ".out");
  return StartChild(out, settings.model_budget, [&] {
    Variant result;
    std::string note;
    const bool ok = CallModel(function, inputs, &result, &note);
    WriteFile(out, !ok ? "failed: " + note
                       : (result.is(VariantKind::Text) ? result.text() : "(no text)"));
    _exit(ok ? 0 : 3);
  });
}

// Waits for every child.
void CollectChildren() {
  for (Child& c : children) {
    if (c.pid <= 0) continue;
    int status = 0;
    rusage usage{};
    wait4(c.pid, &status, 0, &usage);
    const double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    const std::string out = ReadFile(c.out);
    if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL)) {
      c.time.note = "> " + FormatSeconds(c.budget) + " (stopped)";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      c.time.note = out.starts_with("failed: ") ? out.substr(8) : "failed";
    } else {
      c.time = {true, cpu, 1, ""};
      c.text = out;
    }
  }
}

// Starts the model on every case; the engine runs while it works. Returns a printer for the
// table, to call once the children are collected.
std::function<void()> ModelSection(Engine& engine) {
  struct Line {
    std::string label;
    std::size_t child = 0;
    Timing engine;
    std::string text;
  };
  auto lines = std::make_shared<std::vector<Line>>();
  for (const Case& c : Cases()) {
    const std::vector<Variant> inputs = Inputs(c, 300, 1000);
    Line line{c.label,
              settings.model ? StartModel("model-" + c.function, c.function, inputs) : 0,
              {},
              {}};
    lines->push_back(line);
  }
  for (std::size_t i = 0; i < lines->size(); ++i) {
    const Case c = Cases()[i];
    Progress(c.label + " at Precision 1,000");
    Line& line = (*lines)[i];
    line.engine = EngineTime(engine, c.function, Inputs(c, 300, 1000), &line.text);
  }
  return [lines] {
    std::cout << "## Precision 1,000, SeriesLength 300: the engine and the reference model\n\n";
    std::vector<Row> rows;
    for (const Line& line : *lines) {
      Timing model;
      std::string same = "–";
      if (settings.model) {
        model = children[line.child].time;
        if (model.measured) same = Difference(line.text, children[line.child].text);
      } else {
        model.note = "skipped";
      }
      rows.push_back({{line.label, Cell(line.engine), Cell(model),
                       RatioOrBound(model, line.engine, settings.model_budget), same}});
    }
    PrintTable({"call", "engine", "model (child process)", "model/engine", "engine = model"}, rows);
  };
}

#ifdef NUMERON_BENCH_MPFR
// The value of `r` as decimal text cut (not rounded) at `places` places.
std::string MpfrText(mpfr_t r, std::int64_t places) {
  mpfr_exp_t exponent = 0;
  char* s =
      mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(places + 20), r, MPFR_RNDZ);
  std::string digits = s;
  mpfr_free_str(s);
  std::string text;
  if (exponent > 0) {
    text = digits.substr(0, static_cast<std::size_t>(exponent)) + "." +
           digits.substr(static_cast<std::size_t>(exponent));
  } else {
    text = "0." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
  }
  return text.substr(0, text.find('.') + 1 + static_cast<std::size_t>(places));
}
#endif

std::function<void()> BigSection(Engine& engine) {
  constexpr std::int32_t kPlaces = 10000;
  struct Line {
    std::string label;
    std::size_t child = 0;
    Timing engine, mpfr;
    std::string engine_text, mpfr_text;
  };
  auto lines = std::make_shared<std::vector<Line>>();
  for (const Case& c : Cases()) {
    Line line;
    line.label = c.label;
    if (settings.peers) {
      line.child = StartBc("bc-" + c.function,
                           "scale=" + std::to_string(kPlaces) + "\n" + c.bc + "\nquit\n");
    }
    lines->push_back(line);
  }
  const std::vector<Case> cases = Cases();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Line& line = (*lines)[i];
    Progress(c.label + " at Precision 10,000");
    line.engine = EngineTime(engine, c.function, Inputs(c, 2000, kPlaces), &line.engine_text);
#ifdef NUMERON_BENCH_MPFR
    const auto bits = static_cast<mpfr_prec_t>(std::ceil((kPlaces + 20) * std::log2(10.0)));
    line.mpfr = Time([&](std::string*) {
      mpfr_t r;
      mpfr_init2(r, bits);
      c.mpfr(r);
      line.mpfr_text = MpfrText(r, kPlaces);
      mpfr_clear(r);
      return true;
    });
#else
    line.mpfr.note = "n/a (no MPFR)";
#endif
  }
  return [lines] {
    std::cout << "## Precision 10,000, SeriesLength 2,000: the engine, bc -l and MPFR\n\n";
    std::vector<Row> rows;
    for (const Line& line : *lines) {
      Timing bc;
      std::string bc_text;
      if (settings.peers) {
        bc = children[line.child].time;
        if (bc.measured) bc_text = PeerText(children[line.child].out);
      } else {
        bc.note = "skipped";
      }
      rows.push_back(
          {{line.label, Cell(line.engine), Cell(bc), Cell(line.mpfr),
            RatioOrBound(bc, line.engine, settings.peer_timeout), Ratio(line.engine, line.mpfr),
            AgreedPlaces(line.engine_text, line.mpfr_text),
            AgreedPlaces(bc_text, line.mpfr_text)}});
    }
    PrintTable({"call", "engine", "bc -l process", "MPFR (with text)", "bc/engine", "engine/MPFR",
                "engine = MPFR to places", "bc = MPFR to places"},
               rows);
  };
}

// One series against places, for the picture of time against digits: Sine(0.5) at 1,000 to
// 30,000 places (SeriesLength 4,000, which every one of them settles before), beside MPFR.
void GrowthSection(Engine& engine) {
  std::cout << "## Sine(0.5) against places: the engine and MPFR\n\n";
  const Case sine = AllCases().front();
  std::vector<Row> rows;
  for (const std::int32_t places : {1000, 3000, 10000, 30000}) {
    Progress(sine.label + " at Precision " + Thousands(places));
    std::string engine_text, mpfr_text;
    const Timing ours = EngineTime(engine, sine.function, Inputs(sine, 4000, places), &engine_text);
    Timing mpfr;
#ifdef NUMERON_BENCH_MPFR
    const auto bits = static_cast<mpfr_prec_t>(std::ceil((places + 20) * std::log2(10.0)));
    mpfr = Time([&](std::string*) {
      mpfr_t r;
      mpfr_init2(r, bits);
      sine.mpfr(r);
      mpfr_text = MpfrText(r, places);
      mpfr_clear(r);
      return true;
    });
#else
    mpfr.note = "n/a (no MPFR)";
#endif
    rows.push_back({{Thousands(places) + " places", Cell(ours), Cell(mpfr), Ratio(ours, mpfr),
                     AgreedPlaces(engine_text, mpfr_text)}});
  }
  PrintTable({"places", "engine", "MPFR (with text)", "engine/MPFR", "engine = MPFR to places"},
             rows);
}

void ExactSection(Engine& engine) {
  std::cout << "## Exact whole-number results, text: the engine and GMP\n\n";
  struct Job {
    std::string label, function;
    std::vector<Variant> inputs;
    std::function<std::string()> gmp;
  };
  auto factorial = [](unsigned long n) {
    return [n] {
      mpz_t f;
      mpz_init(f);
      mpz_fac_ui(f, n);
      const std::string text = WriteDecimal(f, false, 0);
      mpz_clear(f);
      return text;
    };
  };
  const std::vector<Job> jobs = {
      {"Factorial(10,000)",
       "Factorial",
       {Variant(std::int32_t{10000}), Variant(std::int32_t{1})},
       factorial(10000)},
      {"Factorial(100,000)",
       "Factorial",
       {Variant(std::int32_t{100000}), Variant(std::int32_t{1})},
       factorial(100000)},
      {"Exponential(1.0001, 10000)",
       "Exponential",
       {Variant("1.0001"), Variant(std::int32_t{10000}), Variant(std::int32_t{30}),
        Variant(std::int32_t{10}), Variant(std::int32_t{1})},
       [] {
         // 1.0001^10000 = 10001^10000 / 10^40000
         mpz_t p;
         mpz_init(p);
         mpz_ui_pow_ui(p, 10001, 10000);
         const std::string text = WriteDecimal(p, false, 40000);
         mpz_clear(p);
         return text;
       }},
  };
  std::vector<Row> rows;
  for (const Job& job : jobs) {
    Progress(job.label);
    std::string engine_text, gmp_text;
    const Timing engine_time = EngineTime(engine, job.function, job.inputs, &engine_text);
    const Timing gmp_time = Time([&](std::string*) {
      gmp_text = job.gmp();
      return true;
    });
    rows.push_back({{job.label, Cell(engine_time), Cell(gmp_time), Ratio(engine_time, gmp_time),
                     Difference(engine_text, gmp_text)}});
  }
  PrintTable({"call", "engine", "GMP (with text)", "engine/GMP", "engine = GMP"}, rows);
}

int Usage() {
  std::cerr << "usage: series_bench [--model-budget SECONDS] [--peer-timeout SECONDS] [--bc PATH]\n"
               "                    [--no-model] [--no-peers] [--only model|big|exact|growth]\n"
               "                    [--function NAME]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool read = ReadOptions(argc, argv, "series_bench", [](std::string_view a, auto next) {
    if (a == "--model-budget")
      settings.model_budget = std::stod(next());
    else if (a == "--peer-timeout")
      settings.peer_timeout = std::stod(next());
    else if (a == "--bc")
      settings.bc = next();
    else if (a == "--no-model")
      settings.model = false;
    else if (a == "--no-peers")
      settings.peers = false;
    else if (a == "--only")
      settings.only = next();
    else if (a == "--function")
      settings.function = next();
    else
      return false;
    return true;
  });
  if (!read) return Usage();
  setenv("BC_LINE_LENGTH", "0", 1);
  settings.work_dir = MakeWorkDir("numeron-series", "series_bench");
  if (settings.work_dir.empty()) return 1;

  std::cout << "# Series and trigonometric functions\n\n"
               "CPU time (of this process; of the child for bc and the model). A call over a "
               "second runs once; shorter ones are the median of up to five runs (the count is "
               "shown when under five). Results are text (Return_Type 1).\n\n";
  Engine engine;
  std::vector<std::function<void()>> tables;
  if (settings.only.empty() || settings.only == "model") tables.push_back(ModelSection(engine));
  if (settings.only.empty() || settings.only == "big") tables.push_back(BigSection(engine));
  if (settings.only.empty() || settings.only == "exact") ExactSection(engine);
  if (settings.only.empty() || settings.only == "growth") GrowthSection(engine);
  Progress("the model and bc children");
  CollectChildren();
  for (const auto& table : tables) table();

  for (const Child& c : children) std::remove(c.out.c_str());
  for (const Case& c : AllCases()) std::remove(TempPath("bc-" + c.function + ".in").c_str());
  rmdir(settings.work_dir.c_str());
  return 0;
}
