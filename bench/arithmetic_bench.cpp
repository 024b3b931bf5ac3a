// arithmetic_bench: times Divide and Multiply on long numbers, text in and text out, side by side:
//
//   engine     the Numeron object in this process, called through the dispatch interface
//   process    `numeron --batch` run as a whole process, fed one request line
//   GMP        the same job written directly on GMP integers (the floor to aim at)
//   model      the literal reference model, where it is built and covers the function
//   bc, python the same job in `bc` and in Python's decimal module, as whole processes, for context
//
// Each cell is the median of repeated runs. Every result is checked in the same run: the engine's
// text against GMP's (and the model's, the process's and the peers'), and "identical" or the first
// difference is printed. Nothing here fails: the program measures and reports, and exits 0 unless
// it cannot run at all.
#include <fcntl.h>
#include <gmp.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/timing.h"
#include "control/arithmetic/product.h"
#include "control/number/number.h"
#include "control/object/numeron.h"
#include "platform/dispatch.h"
#include "platform/variant.h"

namespace {

using namespace numeron::bench;
using numeron::platform::Argument;
using numeron::platform::Dispatch;
using numeron::platform::DispId;
using numeron::platform::ErrorInfo;
using numeron::platform::HResult;
using numeron::platform::Ref;
using numeron::platform::Variant;
using numeron::platform::VariantArray;
using numeron::platform::VariantKind;

// ---------------------------------------------------------------------------------------------
// Settings

struct Settings {
  int max_reps = 11;          // repetitions of a fast measurement
  double budget = 4.0;        // seconds one measurement may take before it stops repeating
  double peer_timeout = 120;  // seconds one bc or python run may take before it is stopped
  std::string numeron_cli = NUMERON_BENCH_CLI;
  std::string registry = NUMERON_BENCH_REGISTRY;
  std::string python = "python3";
  std::string bc = "bc";
  std::string work_dir;
  bool model = true;
  bool peers = true;
  bool wall = false;   // wall clock instead of CPU time
  bool quick = false;  // smaller sizes only, for trying the program out
  std::string only;    // one section only: divide, multiply or digits
};

Settings settings;

// ---------------------------------------------------------------------------------------------
// Timing

// The clock of in-process runs: this thread's CPU time (the default: it leaves out the time
// other programs on a shared machine take the core away), or the wall clock.
double Now() {
  if (settings.wall) return Seconds(Clock::now().time_since_epoch());
  return CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
}

// Runs `body` repeatedly (setup before each run, untimed) and keeps the median. A body that
// returns false is treated as failed and ends the measurement (its note says why). A body that
// times itself (a whole process) reports its seconds through the second argument. A fast body
// gets one untimed warm-up run first; a slow one (over the budget) runs once.
Timing Measure(const std::function<void()>& setup,
               const std::function<bool(std::string*, double*)>& body, int max_reps = -1,
               double budget = -1) {
  if (max_reps < 0) max_reps = settings.max_reps;
  if (budget < 0) budget = settings.budget;
  Timing t;
  std::vector<double> samples;
  double elapsed = 0;
  bool warmed = false;
  while (true) {
    if (setup) setup();
    const double start = Now();
    std::string note;
    double reported = -1;
    const bool ok = body(&note, &reported);
    const double s = reported >= 0 ? reported : Now() - start;
    if (!ok) {
      t.note = note.empty() ? "failed" : note;
      if (samples.empty()) return t;
      break;
    }
    if (!warmed && samples.empty() && s < 0.2 && max_reps > 1) {
      warmed = true;  // discard the first, cold run
      continue;
    }
    samples.push_back(s);
    elapsed += s;
    const double per = elapsed / static_cast<double>(samples.size());
    if (static_cast<int>(samples.size()) >= max_reps) break;
    if (per > budget) break;
    if (samples.size() >= 3 && elapsed + per > budget) break;
  }
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  t.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  t.runs = static_cast<int>(n);
  t.measured = true;
  return t;
}

// ---------------------------------------------------------------------------------------------
// Numbers as text

struct DecimalText {
  bool negative = false;
  std::string digits;         // all digits, integer part then fraction, no point
  std::int64_t fraction = 0;  // how many of them follow the point
};

// Plain decimal text only: an optional sign, digits, an optional point and digits.
DecimalText ReadDecimal(std::string_view text) {
  DecimalText d;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
  d.digits.reserve(text.size());
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      d.digits.push_back(c);
      if (point) ++d.fraction;
    } else {
      throw std::invalid_argument("not a plain decimal text");
    }
  }
  if (d.digits.empty()) d.digits = "0";
  return d;
}

// x / y to `places` places the way the component defines it: the quotient truncated one place
// further (the guard digit), then rounded half away from zero on that digit. With round=false
// the quotient is simply truncated at `places` (what bc prints, for its check).
std::string GmpDivide(std::string_view x, std::string_view y, std::int64_t places,
                      bool round = true) {
  const DecimalText a = ReadDecimal(x);
  const DecimalText b = ReadDecimal(y);
  mpz_t n, d, q;
  mpz_inits(n, d, q, nullptr);
  mpz_set_str(n, a.digits.c_str(), 10);
  mpz_set_str(d, b.digits.c_str(), 10);
  // |x| / |y| * 10^(places + 1) = n * 10^(b.fraction - a.fraction + places + 1) / d
  const std::int64_t guard = round ? 1 : 0;
  const std::int64_t e = b.fraction - a.fraction + places + guard;
  mpz_t power;
  mpz_init(power);
  mpz_ui_pow_ui(power, 10, static_cast<unsigned long>(e >= 0 ? e : -e));
  if (e >= 0) {
    mpz_mul(n, n, power);
  } else {
    mpz_mul(d, d, power);
  }
  mpz_tdiv_q(q, n, d);
  if (round) {
    const unsigned long last = mpz_tdiv_q_ui(q, q, 10);
    if (last >= 5) mpz_add_ui(q, q, 1);
  }
  const bool negative = (a.negative != b.negative) && mpz_sgn(q) != 0;
  std::string text = WriteDecimal(q, negative, places);
  mpz_clears(n, d, q, power, nullptr);
  return text;
}

std::string GmpMultiply(std::string_view x, std::string_view y) {
  const DecimalText a = ReadDecimal(x);
  const DecimalText b = ReadDecimal(y);
  mpz_t m, n;
  mpz_inits(m, n, nullptr);
  mpz_set_str(m, a.digits.c_str(), 10);
  mpz_set_str(n, b.digits.c_str(), 10);
  mpz_mul(m, m, n);
  const bool negative = (a.negative != b.negative) && mpz_sgn(m) != 0;
  std::string text = WriteDecimal(m, negative, a.fraction + b.fraction);
  mpz_clears(m, n, nullptr);
  return text;
}

// A random n-digit whole number text with a non-zero first digit.
std::string RandomDigits(std::mt19937_64& random, std::size_t n) {
  std::uniform_int_distribution<int> digit(0, 9), first(1, 9);
  std::string s;
  s.reserve(n);
  s.push_back(static_cast<char>('0' + first(random)));
  while (s.size() < n) s.push_back(static_cast<char>('0' + digit(random)));
  return s;
}

// ---------------------------------------------------------------------------------------------
// Whole processes

Timing MeasureProcess(const std::vector<std::string>& argv, const std::string& in,
                      const std::string& out, double timeout, int max_reps = -1) {
  // A process run is noisier than a call, so it gets more repetitions within the same budget.
  if (max_reps < 0) max_reps = std::max(settings.max_reps, 21);
  return Measure(
      nullptr,
      [&](std::string* note, double* seconds) {
        const ProcessRun run = RunProcess(argv, in, out, timeout);
        *note = run.note;
        *seconds = settings.wall ? run.wall : run.cpu;
        return run.ok;
      },
      max_reps);
}

std::string JsonText(const std::string& s) { return nlohmann::json(s).dump(); }

// The result text of a one-line batch answer, or a description of what came instead.
std::string BatchResult(const std::string& answer_file, bool* ok) {
  *ok = false;
  const std::string answer = ReadFile(answer_file);
  try {
    const nlohmann::json j = nlohmann::json::parse(answer);
    if (!j.value("ok", false)) return "answer: " + j.dump().substr(0, 200);
    const nlohmann::json& r = j.at("result");
    if (r.value("t", "") != "text") return "answer is no text: " + r.dump().substr(0, 200);
    *ok = true;
    return r.at("v").get<std::string>();
  } catch (const std::exception& e) {
    return std::string("unreadable answer: ") + e.what();
  }
}

// ---------------------------------------------------------------------------------------------
// Peers: bc and Python's decimal module

const char* kPythonDivide = R"(import sys
from decimal import Decimal, localcontext, ROUND_DOWN, ROUND_HALF_UP, MAX_EMAX, MIN_EMIN
x, y, p = sys.stdin.read().split()
p = int(p)
with localcontext() as c:
    c.Emax, c.Emin = MAX_EMAX, MIN_EMIN
    a, b = Decimal(x), Decimal(y)
    c.prec = max(a.adjusted() - b.adjusted() + 1, 0) + p + 3
    c.rounding = ROUND_DOWN
    q = (a / b).quantize(Decimal(1).scaleb(-p - 1))
    q = q.quantize(Decimal(1).scaleb(-p), rounding=ROUND_HALF_UP)
    t = format(q, 'f')
if '.' in t:
    t = t.rstrip('0').rstrip('.')
sys.stdout.write(t + '\n')
)";

const char* kPythonMultiply = R"(import sys
from decimal import Decimal, localcontext, MAX_EMAX, MIN_EMIN
x, y = sys.stdin.read().split()
with localcontext() as c:
    c.Emax, c.Emin = MAX_EMAX, MIN_EMIN
    c.prec = len(x) + len(y) + 2
    t = format(Decimal(x) * Decimal(y), 'f')
sys.stdout.write(t + '\n')
)";

const char* kPythonStart = "import sys, decimal";

// ---------------------------------------------------------------------------------------------
// Output

std::string Places(std::int64_t n) { return Thousands(n); }

// ---------------------------------------------------------------------------------------------
// The model

#ifdef NUMERON_BENCH_MODEL
constexpr bool kHaveModel = true;
#else
constexpr bool kHaveModel = false;
#endif

// Whether the model can run `function` at all: asks it once with small arguments.
bool ModelHas(std::string_view function, std::vector<Variant> small_args, std::string* note) {
  if (!settings.model) {
    *note = "skipped";
    return false;
  }
  Variant ignored;
  std::string why;
  if (CallModel(function, std::move(small_args), &ignored, &why)) return true;
  *note = why.starts_with("n/a") ? why : "n/a (" + why + ")";
  return false;
}

std::string CompareArrays(const Variant& got, const Variant& want) {
  if (got == want) return "identical";
  if (!got.is(VariantKind::Array) || !want.is(VariantKind::Array)) {
    return "differ: " + numeron::platform::Describe(got).substr(0, 60) + " vs " +
           numeron::platform::Describe(want).substr(0, 60);
  }
  const VariantArray& a = got.array();
  const VariantArray& b = want.array();
  if (a.lower_bound != b.lower_bound || a.size() != b.size() || a.element_kind != b.element_kind) {
    return "differ in bounds: " + std::to_string(a.lower_bound) + ".." +
           std::to_string(a.upper_bound()) + " vs " + std::to_string(b.lower_bound) + ".." +
           std::to_string(b.upper_bound());
  }
  for (std::size_t i = 0; i < a.digits.size(); ++i) {
    if (a.digits[i] != b.digits[i]) {
      return "differ at place " + std::to_string(a.lower_bound + static_cast<std::int64_t>(i)) +
             ": " + std::to_string(a.digits[i]) + " vs " + std::to_string(b.digits[i]);
    }
  }
  return "differ";
}

// ---------------------------------------------------------------------------------------------
// The cases

std::string TempPath(const std::string& name) { return settings.work_dir + "/" + name; }

struct Checks {
  std::vector<std::string> lines;
  void Add(const std::string& what, const std::string& verdict) {
    lines.push_back(what + ": " + verdict);
  }
};

Timing EngineRun(Engine& engine, DispId id, const std::vector<Variant>& inputs, Variant* result) {
  std::vector<Argument> args;
  return Measure(
      [&] {
        args.clear();
        for (const Variant& v : inputs) args.push_back(Argument::ByValue(v));
        *result = Variant();
      },
      [&](std::string* note, double*) { return engine.Invoke(id, args, result, note); });
}

Timing EmptyBatchStart() {
  const std::string out = TempPath("empty.out");
  return MeasureProcess({settings.numeron_cli, "--batch"}, "/dev/null", out, 60);
}

struct BatchOutcome {
  Timing time;
  std::string text;
  bool ok = false;
};

BatchOutcome BatchRun(const std::string& request_line) {
  const std::string in = TempPath("request.jsonl");
  const std::string out = TempPath("answer.jsonl");
  WriteFile(in, request_line + "\n");
  BatchOutcome b;
  b.time = MeasureProcess({settings.numeron_cli, "--batch"}, in, out, 600);
  if (b.time.measured) b.text = BatchResult(out, &b.ok);
  return b;
}

struct PeerOutcome {
  Timing time;
  std::string text;
};

PeerOutcome PeerRun(const std::vector<std::string>& argv, const std::string& input) {
  const std::string in = TempPath("peer.in");
  const std::string out = TempPath("peer.out");
  WriteFile(in, input);
  PeerOutcome p;
  p.time = MeasureProcess(argv, in, out, settings.peer_timeout);
  if (p.time.measured) p.text = PeerText(out);
  return p;
}

std::string PeerCell(const PeerOutcome& p, const std::string& want) {
  std::string cell = Cell(p.time);
  if (p.time.measured && p.text != want) cell += " (≠)";
  return cell;
}

struct Starts {
  Timing bare, numeron, bc, python;
};

void DivideSection(Engine& engine, const Starts& starts, std::mt19937_64& random, Checks& checks) {
  std::cout << "## Divide, Return_Type 1 (text)\n\n";
  const std::string a = RandomDigits(random, 1000);
  const std::string b = RandomDigits(random, 500);
  struct Job {
    std::string name, x, y;
  };
  const std::vector<Job> jobs = {{"1 / 7", "1", "7"}, {"1,000 / 500 digits", a, b}};
  std::vector<std::int64_t> places = {1000, 10000, 100000};
  if (settings.quick) places = {1000, 10000};

  std::string model_note;
  const bool model = ModelHas(
      "Divide", {Variant("1"), Variant("7"), Variant(std::int32_t{3}), Variant(std::int32_t{1})},
      &model_note);
  std::vector<Row> rows;
  for (const Job& job : jobs) {
    std::vector<std::int64_t> job_places = places;
    if (job.x == "1" && !settings.quick) job_places.push_back(10'000'000);
    for (const std::int64_t p : job_places) {
      const std::string label = job.name + " to " + Places(p) + " places";
      Progress("Divide " + label);
      const std::vector<Variant> inputs = {Variant(job.x), Variant(job.y),
                                           Variant(static_cast<std::int32_t>(p)),
                                           Variant(std::int32_t{1})};
      Variant result;
      const Timing engine_time = EngineRun(engine, engine.Id("Divide"), inputs, &result);
      const std::string engine_text = result.is(VariantKind::Text) ? result.text() : "";

      std::string gmp_text;
      const Timing gmp_time = Measure(nullptr, [&](std::string*, double*) {
        gmp_text = GmpDivide(job.x, job.y, p);
        return true;
      });
      checks.Add("Divide " + label + ", engine vs GMP",
                 engine_time.measured ? Difference(engine_text, gmp_text) : engine_time.note);

      const std::string request =
          "{\"fn\":\"Divide\",\"args\":[{\"t\":\"text\",\"v\":" + JsonText(job.x) +
          "},{\"t\":\"text\",\"v\":" + JsonText(job.y) +
          "},{\"t\":\"i4\",\"v\":" + std::to_string(p) + "},{\"t\":\"i4\",\"v\":1}]}";
      const BatchOutcome batch = BatchRun(request);
      checks.Add("Divide " + label + ", numeron --batch vs GMP",
                 batch.ok ? Difference(batch.text, gmp_text)
                          : (batch.time.measured ? batch.text : batch.time.note));
      Timing per_call;
      if (batch.time.measured && starts.numeron.measured) {
        per_call.measured = true;
        per_call.runs = batch.time.runs;
        per_call.median = std::max(0.0, batch.time.median - starts.numeron.median);
      }

      Timing model_time;
      if (model && p <= 10000) {
        Variant model_result;
        model_time = Measure(
            nullptr,
            [&](std::string* note, double*) {
              return CallModel("Divide", inputs, &model_result, note);
            },
            p >= 10000 ? 1 : 3, p >= 10000 ? 0.0 : 20.0);
        if (model_time.measured) {
          checks.Add("Divide " + label + ", model vs engine",
                     model_result.is(VariantKind::Text)
                         ? Difference(engine_text, model_result.text())
                         : "model gave no text");
        }
      } else {
        model_time.note = model ? "not run" : model_note;
      }

      PeerOutcome bc, py;
      std::string truncated;
      if (settings.peers) {
        // bc's quotient grows quadratically with the places: beyond 100,000 it takes minutes.
        if (p <= 100000) {
          bc = PeerRun({settings.bc, "-q"},
                       "scale=" + std::to_string(p) + "\n" + job.x + "/" + job.y + "\nquit\n");
        } else {
          bc.time.note = "not run";
        }
        py = PeerRun({settings.python, "-c", kPythonDivide},
                     job.x + "\n" + job.y + "\n" + std::to_string(p) + "\n");
        truncated = GmpDivide(job.x, job.y, p, false);
        if (bc.time.measured) {
          checks.Add("Divide " + label + ", bc vs GMP truncated (bc does not round)",
                     Difference(bc.text, truncated));
        }
        if (py.time.measured) {
          checks.Add("Divide " + label + ", python decimal vs GMP", Difference(py.text, gmp_text));
        }
      } else {
        bc.time.note = py.time.note = "skipped";
      }

      rows.push_back(
          {{label, Cell(engine_time), Cell(batch.time), Cell(per_call), Cell(gmp_time),
            Cell(model_time), PeerCell(bc, truncated), PeerCell(py, gmp_text),
            Ratio(engine_time, gmp_time), Ratio(batch.time, gmp_time), Ratio(batch.time, py.time),
            Ratio(model_time, engine_time),
            engine_time.measured && engine_text == gmp_text ? "identical" : "DIFFERENT"}});
      std::cout.flush();
    }
  }
  PrintTable({"case", "engine (Invoke)", "numeron --batch process", "process − empty start", "GMP",
              "model", "bc process", "python decimal process", "engine/GMP", "process/GMP",
              "process/python", "model/engine", "engine = GMP"},
             rows);
}

void MultiplyTextSection(Engine& engine, const Starts& starts, std::mt19937_64& random,
                         Checks& checks) {
  std::cout << "## Multiply, Return_Type 1 (text)\n\n";
  std::vector<std::int64_t> sizes = {1000, 10000, 100000, 1000000};
  if (settings.quick) sizes = {1000, 10000};
  std::vector<Row> rows;
  for (const std::int64_t n : sizes) {
    const std::string label = Thousands(n) + " × " + Thousands(n) + " digits";
    Progress("Multiply " + label);
    const std::string x = RandomDigits(random, static_cast<std::size_t>(n));
    const std::string y = RandomDigits(random, static_cast<std::size_t>(n));
    const std::vector<Variant> inputs = {Variant(x), Variant(y), Variant(std::int32_t{1})};
    Variant result;
    const Timing engine_time = EngineRun(engine, engine.Id("Multiply"), inputs, &result);
    const std::string engine_text = result.is(VariantKind::Text) ? result.text() : "";

    std::string gmp_text;
    const Timing gmp_time = Measure(nullptr, [&](std::string*, double*) {
      gmp_text = GmpMultiply(x, y);
      return true;
    });
    checks.Add("Multiply " + label + ", engine vs GMP",
               engine_time.measured ? Difference(engine_text, gmp_text) : engine_time.note);

    const std::string request =
        "{\"fn\":\"Multiply\",\"args\":[{\"t\":\"text\",\"v\":" + JsonText(x) +
        "},{\"t\":\"text\",\"v\":" + JsonText(y) + "},{\"t\":\"i4\",\"v\":1}]}";
    const BatchOutcome batch = BatchRun(request);
    checks.Add("Multiply " + label + ", numeron --batch vs GMP",
               batch.ok ? Difference(batch.text, gmp_text)
                        : (batch.time.measured ? batch.text : batch.time.note));
    Timing per_call;
    if (batch.time.measured && starts.numeron.measured) {
      per_call.measured = true;
      per_call.runs = batch.time.runs;
      per_call.median = std::max(0.0, batch.time.median - starts.numeron.median);
    }

    PeerOutcome bc, py;
    if (settings.peers) {
      if (n <= 100000) {
        bc = PeerRun({settings.bc, "-q"}, x + "*" + y + "\nquit\n");
      } else {
        bc.time.note = "not run (28 s in an earlier run)";
      }
      py = PeerRun({settings.python, "-c", kPythonMultiply}, x + "\n" + y + "\n");
      if (bc.time.measured)
        checks.Add("Multiply " + label + ", bc vs GMP", Difference(bc.text, gmp_text));
      if (py.time.measured) {
        checks.Add("Multiply " + label + ", python decimal vs GMP", Difference(py.text, gmp_text));
      }
    } else {
      bc.time.note = py.time.note = "skipped";
    }
    rows.push_back({{label, Cell(engine_time), Cell(batch.time), Cell(per_call), Cell(gmp_time),
                     PeerCell(bc, gmp_text), PeerCell(py, gmp_text), Ratio(engine_time, gmp_time),
                     Ratio(batch.time, gmp_time), Ratio(batch.time, py.time),
                     engine_time.measured && engine_text == gmp_text ? "identical" : "DIFFERENT"}});
  }
  PrintTable({"case", "engine (Invoke)", "numeron --batch process", "process − empty start", "GMP",
              "bc process", "python decimal process", "engine/GMP", "process/GMP", "process/python",
              "engine = GMP"},
             rows);
}

// The peak resident memory of one `numeron --batch` run on the last request, as /usr/bin/time
// reads it: a child's own rusage would count this process's peak, which the spawned child
// inherits on Linux.
std::string PeakMemory() {
  const std::string report = TempPath("peak.txt");
  const ProcessRun run =
      RunProcess({"/usr/bin/time", "-f", "%M", "-o", report, settings.numeron_cli, "--batch"},
                 TempPath("request.jsonl"), TempPath("answer.jsonl"), 600);
  const std::string kib = ReadFile(report);
  std::remove(report.c_str());
  if (!run.ok || kib.empty()) return "n/a (needs /usr/bin/time)";
  char cell[32];
  std::snprintf(cell, sizeof cell, "%.1f MiB", std::stod(kib) / 1024);
  return cell;
}

// Factorial(100000) as text next to GMP's fac_ui and get_str, and Modulus(1E49999999, 7), whose
// work should follow its significant digits: time and the process's peak memory.
void FactorialModulusSection(Engine& engine, Checks& checks) {
  std::cout << "## Factorial and Modulus, Return_Type 1 (text)\n\n";
  std::vector<Row> rows;
  {
    const std::string label = "Factorial(100000)";
    Progress(label);
    Variant result;
    const std::vector<Variant> inputs = {Variant("100000"), Variant(std::int32_t{1})};
    const Timing engine_time = EngineRun(engine, engine.Id("Factorial"), inputs, &result);
    std::string gmp_text;
    const Timing gmp_time = Measure(nullptr, [&](std::string*, double*) {
      mpz_t f;
      mpz_init(f);
      mpz_fac_ui(f, 100000);
      char* text = mpz_get_str(nullptr, 10, f);
      gmp_text = text;
      void (*release)(void*, std::size_t);
      mp_get_memory_functions(nullptr, nullptr, &release);
      release(text, std::strlen(text) + 1);
      mpz_clear(f);
      return true;
    });
    const std::string engine_text = result.is(VariantKind::Text) ? result.text() : "";
    checks.Add(label + ", engine vs GMP",
               engine_time.measured ? Difference(engine_text, gmp_text) : engine_time.note);
    const BatchOutcome batch =
        BatchRun(R"({"fn":"Factorial","args":[{"t":"text","v":"100000"},{"t":"i4","v":1}]})");
    checks.Add(label + ", numeron --batch vs GMP",
               batch.ok ? Difference(batch.text, gmp_text) : batch.time.note);
    rows.push_back({{label, Cell(engine_time), Cell(batch.time), Cell(gmp_time),
                     Ratio(engine_time, gmp_time), Ratio(batch.time, gmp_time), PeakMemory(),
                     engine_text == gmp_text ? "identical" : "DIFFERENT"}});
  }
  {
    const std::string label = "Modulus(1E49999999, 7)";
    Progress(label);
    Variant result;
    const std::vector<Variant> inputs = {Variant("1E49999999"), Variant("7"),
                                         Variant(std::int32_t{1})};
    const Timing engine_time = EngineRun(engine, engine.Id("Modulus"), inputs, &result);
    mpz_t r;
    mpz_init(r);
    mpz_ui_pow_ui(r, 10, 49999999);
    const std::string gmp_text = std::to_string(mpz_fdiv_ui(r, 7));
    mpz_clear(r);
    const std::string engine_text = result.is(VariantKind::Text) ? result.text() : "";
    checks.Add(label + ", engine vs GMP",
               engine_time.measured ? Difference(engine_text, gmp_text) : engine_time.note);
    const BatchOutcome batch = BatchRun(R"({"fn":"Modulus","args":[{"t":"text","v":"1E49999999"},)"
                                        R"({"t":"text","v":"7"},{"t":"i4","v":1}]})");
    checks.Add(label + ", numeron --batch vs GMP",
               batch.ok ? Difference(batch.text, gmp_text) : batch.time.note);
    rows.push_back({{label, Cell(engine_time), Cell(batch.time), "–", "–", "–", PeakMemory(),
                     engine_text == gmp_text ? "identical" : "DIFFERENT"}});
  }
  PrintTable({"case", "engine (Invoke)", "numeron --batch process", "GMP", "engine/GMP",
              "process/GMP", "process peak memory", "engine = GMP"},
             rows);
}

void MultiplyDigitsSection(Engine& engine, std::mt19937_64& random, Checks& checks) {
  std::cout << "## Multiply, Return_Type 0 (the digit array the schoolbook rows leave)\n\n"
               "Beside it the same product as text (Return_Type 1); the array is checked against "
               "the model up to 10,000 digits and against the rows added one by one at 100,000 "
               "(both too slow beyond), and read as text against GMP at every size.\n\n";
  std::string model_note;
  const bool model =
      ModelHas("Multiply", {Variant("12"), Variant("34"), Variant(std::int32_t{0})}, &model_note);
  std::vector<Row> rows;
  std::vector<std::int64_t> sizes = {1000, 10000, 100000, 1000000};
  if (settings.quick) sizes = {1000, 10000};
  for (const std::int64_t n : sizes) {
    const std::string label = Thousands(n) + " × " + Thousands(n) + " digits";
    Progress("Multiply digits " + label);
    const std::string x = RandomDigits(random, static_cast<std::size_t>(n));
    const std::string y = RandomDigits(random, static_cast<std::size_t>(n));
    const std::vector<Variant> inputs = {Variant(x), Variant(y), Variant(std::int32_t{0})};
    Variant result, text;
    const Timing engine_time = EngineRun(engine, engine.Id("Multiply"), inputs, &result);
    const Timing text_time = EngineRun(engine, engine.Id("Multiply"),
                                       {Variant(x), Variant(y), Variant(std::int32_t{1})}, &text);
    const std::string value = engine_time.measured ? engine.TextOf(result) : "";
    checks.Add("Multiply digits " + label + ", the engine's array read as text vs GMP",
               engine_time.measured ? Difference(value, GmpMultiply(x, y)) : engine_time.note);
    Timing model_time;
    std::string same = "–";
    if (model && n <= 10000) {
      Variant model_result;
      model_time = Measure(
          nullptr,
          [&](std::string* note, double*) {
            return CallModel("Multiply", inputs, &model_result, note);
          },
          n >= 10000 ? 1 : 3, n >= 10000 ? 0.0 : 20.0);
      if (model_time.measured) {
        same = CompareArrays(result, model_result);
        checks.Add("Multiply digits " + label + ", engine vs model", same);
      }
    } else if (n == 100000 && engine_time.measured) {
      const numeron::HugeNumber rows_one_by_one = numeron::AddRowsOneByOne(
          numeron::ToHugeNumber(Variant(x)), numeron::ToHugeNumber(Variant(y)), true);
      same = numeron::ToHugeNumber(result) == rows_one_by_one ? "identical" : "differs";
      checks.Add("Multiply digits " + label + ", engine vs the rows one by one", same);
    } else {
      model_time.note = model ? "too slow" : model_note;
    }
    rows.push_back({{label, Cell(engine_time), Cell(text_time), Ratio(engine_time, text_time),
                     Cell(model_time), Ratio(model_time, engine_time), same}});
  }
  PrintTable({"case", "engine (Invoke)", "same as text", "array/text", "model", "model/engine",
              "engine = model (or rows)"},
             rows);
}

int Usage() {
  std::cerr << "usage: arithmetic_bench [--reps N] [--budget SECONDS] [--peer-timeout SECONDS]\n"
               "                        [--numeron PATH] [--registry PATH] [--python PATH]\n"
               "                        [--bc PATH] [--no-model] [--no-peers] [--quick]\n"
               "                        [--only divide|multiply|factorial|digits] [--wall]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool read = ReadOptions(argc, argv, "arithmetic_bench", [](std::string_view a, auto next) {
    if (a == "--reps")
      settings.max_reps = std::max(1, std::stoi(next()));
    else if (a == "--budget")
      settings.budget = std::stod(next());
    else if (a == "--peer-timeout")
      settings.peer_timeout = std::stod(next());
    else if (a == "--numeron")
      settings.numeron_cli = next();
    else if (a == "--registry")
      settings.registry = next();
    else if (a == "--python")
      settings.python = next();
    else if (a == "--bc")
      settings.bc = next();
    else if (a == "--no-model")
      settings.model = false;
    else if (a == "--no-peers")
      settings.peers = false;
    else if (a == "--quick")
      settings.quick = true;
    else if (a == "--wall")
      settings.wall = true;
    else if (a == "--only")
      settings.only = next();
    else
      return false;
    return true;
  });
  if (!read) return Usage();
  // The process runs and the object itself find the component through this registration file.
  if (!std::getenv("NUMERON_REGISTRY")) setenv("NUMERON_REGISTRY", settings.registry.c_str(), 1);
  setenv("BC_LINE_LENGTH", "0", 1);
  settings.work_dir = MakeWorkDir("numeron-bench", "arithmetic_bench");
  if (settings.work_dir.empty()) return 1;

  std::cout << "Medians of up to " << settings.max_reps << " runs per call and "
            << std::max(settings.max_reps, 21)
            << " per process (fewer where one run is long; the count is shown when under 5). "
               "Ratios are of medians. Everything runs single-threaded, one thing at a time. "
            << (settings.wall
                    ? "Times are wall clock (--wall).\n\n"
                    : "Times are CPU time (user + system): of this thread for the in-process "
                      "columns, of the whole child process for the process columns, so that "
                      "other programs sharing the machine do not inflate them; --wall gives "
                      "wall-clock times instead.\n\n");

  Engine engine;
  Checks checks;
  std::mt19937_64 random(20240611);

  Starts starts;
  Progress("process starts");
  starts.bare = MeasureProcess({"true"}, "/dev/null", TempPath("empty.out"), 60);
  starts.numeron = EmptyBatchStart();
  if (settings.peers) {
    starts.bc = PeerRun({settings.bc, "-q"}, "quit\n").time;
    starts.python = PeerRun({settings.python, "-c", kPythonStart}, "").time;
  }
  std::cout << "Empty process starts (what the process columns spend before any work): "
               "`numeron --batch` on empty input "
            << Cell(starts.numeron) << "; bc " << Cell(starts.bc) << "; python3 importing decimal "
            << Cell(starts.python) << "; for scale, a bare `true` " << Cell(starts.bare)
            << ". The column \"process − empty start\" subtracts the first.\n\n";

  // Every section draws its numbers from the same sequence, so a section run alone with --only
  // sees other numbers than in the full run.
  if (settings.only.empty() || settings.only == "divide")
    DivideSection(engine, starts, random, checks);
  if (settings.only.empty() || settings.only == "multiply") {
    MultiplyTextSection(engine, starts, random, checks);
  }
  if (settings.only.empty() || settings.only == "factorial")
    FactorialModulusSection(engine, checks);
  if (settings.only.empty() || settings.only == "digits")
    MultiplyDigitsSection(engine, random, checks);

  std::cout << "## Checks (every result compared in this run)\n\n";
  std::size_t identical = 0;
  for (const std::string& line : checks.lines) {
    std::cout << "- " << line << '\n';
    if (line.ends_with(": identical")) ++identical;
  }
  std::cout << '\n' << identical << " of " << checks.lines.size() << " comparisons identical.\n";
  std::cout << "\n(≠ after a peer's time: its text differs from GMP's; see the checks.)\n";
  for (const char* f : {"empty.out", "request.jsonl", "answer.jsonl", "peer.in", "peer.out"}) {
    std::remove(TempPath(f).c_str());
  }
  rmdir(settings.work_dir.c_str());
  return 0;
}
