#include "bench/ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
      const std::string name = r.benchmark_name();
      const auto slash = name.find('/');
      if (slash == std::string::npos) continue;
      // Seconds per iteration, whatever unit the benchmark prints in.
      times_[name.substr(slash + 1)][name.substr(0, slash)] = r.real_accumulated_time / static_cast<double>(r.iterations);
      if (std::find(order_.begin(), order_.end(), name.substr(slash + 1)) == order_.end())
        order_.push_back(name.substr(slash + 1));
    }
  }

  void PrintRatios() const {
    std::printf("\n%-28s %12s %12s %12s %10s %10s\n", "job", "ours", "cairo", "ceiling", "cairo/ours",
                "ours/ceil");
    for (const std::string& job : order_) {
      const auto& t = times_.at(job);
      auto get = [&](const char* side) {
        auto it = t.find(side);
        return it == t.end() ? -1.0 : it->second;
      };
      const double ours = get("ours"), cairo = get("cairo"), ceiling = get("ceiling");
      auto cell = [](double v) {
        char buf[32];
        if (v < 0) std::snprintf(buf, sizeof buf, "%12s", "-");
        else std::snprintf(buf, sizeof buf, "%10.1fus", v * 1e6);
        return std::string(buf);
      };
      auto ratio = [](double a, double b) {
        char buf[32];
        if (a < 0 || b <= 0) std::snprintf(buf, sizeof buf, "%10s", "-");
        else std::snprintf(buf, sizeof buf, "%9.2fx", a / b);
        return std::string(buf);
      };
      std::printf("%-28s %s %s %s %s %s\n", job.c_str(), cell(ours).c_str(), cell(cairo).c_str(),
                  cell(ceiling).c_str(), ratio(cairo, ours).c_str(), ratio(ours, ceiling).c_str());
    }
    std::printf("\ncairo/ours > 1 means we are faster than cairo; ours/ceil is our time over memset/memcpy of the same bytes.\n");
  }

 private:
  std::map<std::string, std::map<std::string, double>> times_;  // job -> side -> ns
  std::vector<std::string> order_;
};

}  // namespace

int RunWithRatios(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
