#pragma once

#include <string>

// The program's settings key while the benchmark runs. The user's own
// settings are copied aside at construction and put back at destruction; in
// between, every start begins from a key prepared for it.
class BenchSettings {
  public:
    BenchSettings();
    ~BenchSettings();
    BenchSettings(const BenchSettings&) = delete;
    BenchSettings& operator=(const BenchSettings&) = delete;

    // Settings as on a first start, with `diary` as the only recent
    // document, which the program opens at start.
    static bool PrepareStart(const std::string& diary);
};
