#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/MainWindow.h"

namespace tessaly::bench {

// A main window of its own, on a configuration directory of its own that
// goes with it; the benchmark's QApplication must exist.
struct BenchWindow {
    std::filesystem::path config;
    std::unique_ptr<ui::MainWindow> window;

    explicit BenchWindow(const std::string& name) : config(std::filesystem::temp_directory_path() / name) {
        std::filesystem::create_directories(config);
        window = std::make_unique<ui::MainWindow>(ui::MainWindow::Options{config, nullptr, {}});
    }
    ~BenchWindow() {
        window.reset();
        std::filesystem::remove_all(config);
    }
    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;
};

}  // namespace tessaly::bench
