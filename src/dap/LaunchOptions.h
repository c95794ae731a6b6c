#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tessaly::dap {

// The launch request's arguments:
//   program         .hex, .ihx, .bin or .slf (required)
//   stopOnEntry     stop before the first instruction
//   labels          symbol files to import (the .cdb and listing beside the
//                   program load by themselves)
//   crystal         Hz as a number, or a text with k or M ("11.0592M")
//   hardwareSerial, xramPaging   the two engine choices SDCC programs need
//   serialInput     bytes for the receiver: a text, a list of byte values,
//                   or { "file": PATH }
//   stopOnSelfLoop  a jump to itself ends the program (exited, terminated)
//   cwd             the folder relative paths start from
struct LaunchOptions {
    std::filesystem::path program;
    bool stopOnEntry = false;
    std::vector<std::filesystem::path> labels;
    double crystal = 12000000.0;
    bool hardwareSerial = false;
    bool xramPaging = false;
    std::string serialInput;
    bool stopOnSelfLoop = false;
};

// Reads the arguments; a RequestError names what is wrong with them (a
// serial input file that cannot be read included).
LaunchOptions ReadLaunchOptions(const nlohmann::json& arguments);

}  // namespace tessaly::dap
