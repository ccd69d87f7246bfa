// The proof actions of the real proofs of the bundled book: every script of
// tests/proofrun/proofs is proved with the proof driver again and again, and
// each of its commands is timed on its own, its automatic tests included.
// The figures are per kind of command and overall (count, median, 95th
// percentile, max), with the start of a proof (building the task) apart and
// Undo timed after every step of every proof. A proof that does not end
// proved is excluded from the figures and fails the benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench_catalogues.h"
#include "book/html_links.h"
#include "book/part.h"
#include "expr/expr.h"
#include "notation/output.h"
#include "proofrun/assot.h"
#include "proofrun/driver.h"
#include "proofrun/protocol.h"
#include "proofrun/script_ui.h"
#include "prover/kernel.h"
#include "shell/cp1251.h"
#include "shell/files.h"

namespace {

using namespace lemmix;
using Clock = std::chrono::steady_clock;

// The action every proof field must stay under, at its 95th percentile.
constexpr double kTargetMs = 50.0;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The kinds of commands, in the order of the table; the script's first word
// of a command line names its kind.
constexpr std::array<std::string_view, 9> kKinds = {"define",        "apply",     "cases", "auxiliary", "conjecture",
                                                    "contradiction", "induction", "undo",  "mark"};
constexpr std::size_t kOtherKind = kKinds.size();
constexpr std::size_t kUndoKind = 7;
static_assert(kKinds[kUndoKind] == "undo");

std::size_t KindOf(const std::string& commandLine) {
  std::string word;
  for (std::size_t i = 1; i < commandLine.size() && commandLine[i] != ' '; ++i)
    word += static_cast<char>(std::tolower(static_cast<unsigned char>(commandLine[i])));
  for (std::size_t k = 0; k < kKinds.size(); ++k)
    if (word == kKinds[k]) return k;
  return kOtherKind;
}

std::string KindName(std::size_t kind) { return std::string(kind < kKinds.size() ? kKinds[kind] : "other"); }

bool IsCommand(const std::string& line) {
  const std::size_t at = line.find_first_not_of(" \t");
  return at != std::string::npos && line[at] == '!';
}

// One script: the statement it proves and its lines (Windows-1251, as the
// command line reads them).
struct TScript {
  std::string File;
  std::string StatementPath;  // "\3\6\6"
  std::vector<std::string> Lines;
  std::vector<std::size_t> Commands;  // the indices of the command lines
  std::vector<std::size_t> Kinds;     // the kind of each command
};

// The scripts found in the source tree now; a script that cannot be read is
// a fault, reported with the rest.
std::vector<TScript> ReadScripts(std::vector<std::string>& faults) {
  // LEMMIX_PROOFS in the environment names another directory of scripts.
  const char* other = std::getenv("LEMMIX_PROOFS");
  const std::string dir = other != nullptr && *other != '\0' ? other : LEMMIX_PROOFS_DIR;
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  if (error) faults.push_back("cannot list " + dir + ": " + error.message());
  std::sort(files.begin(), files.end());
  std::vector<TScript> scripts;
  for (const std::filesystem::path& file : files) {
    TScript script;
    script.File = file.filename().string();
    // "3-6-6.txt" proves book\3\6\6.
    std::string stem = file.stem().string();
    std::replace(stem.begin(), stem.end(), '-', '\\');
    script.StatementPath = "\\" + stem;
    const std::optional<std::string> path = SystemPath(file.string());
    const std::optional<std::vector<std::string>> utf8 = path ? ReadLines(*path) : std::nullopt;
    if (!utf8) {
      faults.push_back(script.File + ": cannot be read");
      continue;
    }
    for (const std::string& line : *utf8) {
      if (IsCommand(line)) {
        script.Commands.push_back(script.Lines.size());
        script.Kinds.push_back(KindOf(line.substr(line.find('!'))));
      }
      script.Lines.push_back(Utf8ToCp1251(line));
    }
    scripts.push_back(std::move(script));
  }
  return scripts;
}

// A condition as the proof window shows it; its stored form when it cannot be printed.
std::string Shown(const TExpr& e) { return TreeToText(e, false, false).value_or(ToString(e)); }

// What a proof field is, to compare the field an Undo leaves with the one
// before the step it undoes.
std::string FieldText(const TProofDriver& driver) {
  if (!driver.Open()) return driver.Succeeded() ? "proved" : "ended";
  const TKernel& k = *driver.Current();
  std::string text = "depth " + std::to_string(driver.Depth()) + ", level " + std::to_string(driver.Level()) + ", caption " +
                     std::to_string(driver.Caption()) + (k.ByContradiction ? ", by contradiction" : "");
  for (const TVarPtr& v : k.GivenObjects) text += "\n  object " + NameText(v->Name);
  for (const TCondPtr& c : k.GivenConds) text += "\n  given " + Shown(*c->Expr);
  for (const TVarPtr& v : k.RequiredObjects) text += "\n  required " + NameText(v->Name);
  for (const TCondPtr& c : k.ProvingConds) text += "\n  proving " + Shown(*c->Expr);
  return text;
}

// One run of a script, or of its first commands followed by an Undo.
struct TRun {
  bool Started = false;
  bool Understood = false;
  std::size_t FaultLine = 0;
  bool Proved = false;
  bool OpenAtEnd = false;
  double StartMs = 0;
  std::vector<double> StepMs;  // per command carried out
  // With `fields`: the proof field after the start and after each command,
  // whether Undo is possible there, and the dialogs of the last command.
  std::vector<std::string> Fields;
  std::vector<bool> Undoable;
  std::vector<std::string> LastAsked;
};

TRun RunScript(const TBook& book, const TStatement& statement, std::vector<std::string> lines, bool fields) {
  TSession& session = Data().context;
  TRun run;
  TProtocolRecorder protocol(session.Messages);
  TScriptUi ui(book, std::move(lines));
  TProofDriver driver(ui, protocol, book, session.AssotProccess.get());
  const Clock::time_point start = Clock::now();
  run.Started = driver.Start(statement, "");
  run.StartMs = Ms(Clock::now() - start);
  if (!run.Started) return run;
  const auto keep = [&] {
    if (!fields) return;
    run.Fields.push_back(FieldText(driver));
    run.Undoable.push_back(driver.Open() && driver.UndoEnabled());
    run.LastAsked = std::move(ui.Asked);
    ui.Asked.clear();
  };
  keep();
  Clock::time_point from = Clock::now();
  run.Understood = ui.Run(driver, [&](const std::string&, bool) {
    run.StepMs.push_back(Ms(Clock::now() - from));
    keep();
    from = Clock::now();
  });
  run.FaultLine = ui.FaultLine;
  run.Proved = driver.Succeeded();
  run.OpenAtEnd = driver.Open();
  return run;
}

// The script's lines up to its command `count` (exclusive), then an Undo.
std::vector<std::string> UndoAfter(const TScript& script, std::size_t count) {
  std::vector<std::string> lines(script.Lines.begin(),
                                 count < script.Commands.size() ? script.Lines.begin() + static_cast<std::ptrdiff_t>(script.Commands[count])
                                                                : script.Lines.end());
  lines.emplace_back("!undo");
  return lines;
}

struct TFigures {
  std::size_t Count = 0;
  double Median = 0;
  double P95 = 0;
  double Max = 0;
};

TFigures FiguresOf(std::vector<double> times) {
  TFigures f;
  f.Count = times.size();
  if (times.empty()) return f;
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  f.Median = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  // The nearest rank: the smallest time that 95% of the times do not exceed.
  f.P95 = times[static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(n))) - 1];
  f.Max = times.back();
  return f;
}

// A proof that goes as its script says, checked once before the timing.
struct TProof {
  const TScript* Script = nullptr;
  const TStatement* Statement = nullptr;
  std::size_t Steps = 0;                // the commands carried out before the proof ended
  std::vector<std::size_t> UndoSteps;   // the step counts after which Undo is timed
};

// Runs the script once with every check: false (with the faults) when it
// does not prove its statement. Undo after each step must give back the
// proof field before that step; a step that changed nothing is undone with
// the one before it, so it is not compared.
bool Check(const TBook& book, const TScript& script, TProof& proof, std::vector<std::string>& faults,
           std::vector<std::string>& notes) {
  RecordingMessages& messages = Data().messages;
  const std::string name = script.File + " (book" + script.StatementPath + ")";
  proof.Script = &script;
  proof.Statement = FindStatementByPath(book, script.StatementPath);
  if (proof.Statement == nullptr) {
    faults.push_back(name + ": no such statement in the book");
    return false;
  }
  messages.Clear();
  const TRun run = RunScript(book, *proof.Statement, script.Lines, true);
  std::string why;
  if (!run.Started) why = "the proof did not start";
  else if (!run.Understood) why = "line " + std::to_string(run.FaultLine) + " is not a command";
  else if (!run.Proved) why = run.OpenAtEnd ? "the script ended before the proof" : "the proof was aborted";
  if (!why.empty()) {
    std::string fault = name + ": NOT PROVED: " + why + " after " + std::to_string(run.StepMs.size()) + " of " +
                        std::to_string(script.Commands.size()) + " commands";
    if (!run.Fields.empty()) fault += "\n    field: " + Cp1251ToUtf8(run.Fields.back());
    for (const std::string& asked : run.LastAsked) fault += "\n    asked: " + Cp1251ToUtf8(asked);
    for (const RecordingMessages::Entry& entry : messages.Entries())
      fault += "\n    message: " + Cp1251ToUtf8(entry.message.Eng.empty() ? entry.message.Rus : entry.message.Eng);
    faults.push_back(fault);
    messages.Clear();
    return false;
  }
  proof.Steps = run.StepMs.size();
  if (proof.Steps < script.Commands.size())
    notes.push_back(name + ": proved after " + std::to_string(proof.Steps) + " of " + std::to_string(script.Commands.size()) +
                    " commands; the rest is not run");
  for (std::size_t step = 1; step <= proof.Steps; ++step) {
    if (!run.Undoable[step]) continue;
    proof.UndoSteps.push_back(step);
    if (run.Fields[step] == run.Fields[step - 1]) continue;
    const TRun undone = RunScript(book, *proof.Statement, UndoAfter(script, step), true);
    if (undone.StepMs.size() != step + 1 || undone.Fields.back() != run.Fields[step - 1])
      notes.push_back(name + ": Undo after step " + std::to_string(step) + " (line " +
                      std::to_string(script.Commands[step - 1] + 1) + ") does not give back the field before it:\n    before: " +
                      Cp1251ToUtf8(run.Fields[step - 1]) + "\n    undone: " +
                      Cp1251ToUtf8(undone.Fields.empty() ? "-" : undone.Fields.back()));
  }
  messages.Clear();
  return true;
}

// The samples of all passes.
struct TSamples {
  std::vector<double> Start;
  std::array<std::vector<double>, kKinds.size() + 1> ByKind;
  std::vector<double> All;
  // Per command of a script, for the slowest ones: "file:line !command".
  std::map<std::string, std::vector<double>> ByCommand;
};

std::string CommandName(const TScript& script, std::size_t command) {
  const std::size_t line = script.Commands[command];
  return script.File + ":" + std::to_string(line + 1) + " " + Cp1251ToUtf8(script.Lines[line]);
}

void Add(TSamples& samples, const std::string& command, std::size_t kind, double ms) {
  samples.ByKind[kind].push_back(ms);
  samples.All.push_back(ms);
  samples.ByCommand[command].push_back(ms);
}

void PrintRow(const std::string& name, const TFigures& f, std::size_t passes) {
  if (f.Count == 0) {
    std::printf("  %-24s %8s\n", name.c_str(), "-");
    return;
  }
  std::printf("  %-24s %8zu %8zu %10.3f %10.3f %10.3f%s\n", name.c_str(), f.Count, f.Count / passes, f.Median, f.P95, f.Max,
              f.P95 > kTargetMs ? "  OVER 50 ms" : "");
}

void ProofActions(benchmark::State& state) {
  TSession& session = Data().context;
  session.StartupOk = true;
  if (!session.AssotProccess) {
    session.AssotProccess = std::make_unique<TAssotProccess>(*session.StFunc, session.Messages);
    if (!session.AssotProccess->LoadAssot(SystemPath(LEMMIX_DATA_DIR).value())) {
      state.SkipWithError("the associated transformations were not loaded");
      return;
    }
  }
  TBook book;
  book.Path = SystemPath(LEMMIX_DATA_DIR).value() + "\\book";
  book.Load();

  std::vector<std::string> faults;
  std::vector<std::string> notes;
  const std::vector<TScript> scripts = ReadScripts(faults);
  std::vector<TProof> proofs;
  for (const TScript& script : scripts) {
    TProof proof;
    if (Check(book, script, proof, faults, notes)) proofs.push_back(proof);
  }

  TSamples samples;
  std::size_t passes = 0;
  std::vector<std::string> lost;  // proofs that stopped proving while timed
  for (auto _ : state) {
    ++passes;
    for (const TProof& proof : proofs) {
      const TScript& script = *proof.Script;
      const TRun run = RunScript(book, *proof.Statement, script.Lines, false);
      if (!run.Proved || run.StepMs.size() != proof.Steps) {
        lost.push_back(script.File);
        continue;
      }
      samples.Start.push_back(run.StartMs);
      for (std::size_t i = 0; i < run.StepMs.size(); ++i) Add(samples, CommandName(script, i), script.Kinds[i], run.StepMs[i]);
      for (const std::size_t step : proof.UndoSteps) {
        const TRun undone = RunScript(book, *proof.Statement, UndoAfter(script, step), false);
        if (undone.StepMs.size() != step + 1) {
          lost.push_back(script.File + " undo after step " + std::to_string(step));
          continue;
        }
        Add(samples, "!undo after " + CommandName(script, step - 1), kUndoKind, undone.StepMs.back());
      }
    }
    Data().messages.Clear();
  }

  std::size_t commands = 0;
  for (const TProof& proof : proofs) commands += proof.Steps;
  std::printf("\nProof actions: %zu proofs proved of %zu scripts, %zu commands, %zu passes\n", proofs.size(), scripts.size(),
              commands, passes);
  std::printf("  %-24s %8s %8s %10s %10s %10s\n", "kind", "count", "per pass", "median ms", "p95 ms", "max ms");
  PrintRow("start (task)", FiguresOf(samples.Start), passes);
  for (std::size_t k = 0; k <= kKinds.size(); ++k)
    if (!samples.ByKind[k].empty() || k < kKinds.size()) PrintRow(KindName(k), FiguresOf(samples.ByKind[k]), passes);
  const TFigures all = FiguresOf(samples.All);
  PrintRow("all commands", all, passes);

  std::vector<std::pair<TFigures, std::string>> slowest;
  for (const auto& [name, times] : samples.ByCommand) slowest.emplace_back(FiguresOf(times), name);
  std::sort(slowest.begin(), slowest.end(), [](const auto& a, const auto& b) { return a.first.P95 > b.first.P95; });
  if (slowest.size() > 8) slowest.resize(8);
  std::printf("  slowest commands (p95 ms, median ms):\n");
  for (const auto& [f, name] : slowest) std::printf("    %10.3f %10.3f  %s\n", f.P95, f.Median, name.c_str());
  for (const std::string& note : notes) std::printf("  NOTE: %s\n", note.c_str());

  for (const std::string& file : lost) faults.push_back(file + ": did not go as in its first run");
  if (!faults.empty()) {
    std::fprintf(stderr, "\n*** PROOF ACTIONS: %zu FAULT(S); THE FIGURES COVER ONLY THE PROOFS THAT WERE PROVED ***\n",
                 faults.size());
    for (const std::string& fault : faults) std::fprintf(stderr, "*** %s\n", fault.c_str());
    std::fflush(stderr);
    state.SkipWithError((std::to_string(faults.size()) + " proof script(s) not proved: see the messages above").c_str());
    return;
  }
  std::fflush(stdout);

  const TFigures start = FiguresOf(samples.Start);
  state.counters["proofs"] = static_cast<double>(proofs.size());
  state.counters["commands"] = static_cast<double>(all.Count);
  state.counters["median_ms"] = all.Median;
  state.counters["p95_ms"] = all.P95;
  state.counters["max_ms"] = all.Max;
  state.counters["start_p95_ms"] = start.P95;
  state.counters["start_max_ms"] = start.Max;
  for (std::size_t k = 0; k < kKinds.size(); ++k)
    if (!samples.ByKind[k].empty()) state.counters[std::string(kKinds[k]) + "_p95_ms"] = FiguresOf(samples.ByKind[k]).P95;
}
BENCHMARK(ProofActions)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace
