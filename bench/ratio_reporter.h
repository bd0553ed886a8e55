// Runs the registered benchmarks and prints, after Google Benchmark's own table, one line per
// job: our time, the peer's, the ceiling's, and the ratios. Benchmarks are named
// "<side>/<job>" where side is "ours", "cairo" or "ceiling".
#pragma once

int RunWithRatios(int argc, char** argv);
