#include "dap/LaunchOptions.h"

#include "control/CrystalFrequency.h"
#include "dap/Arguments.h"
#include "util/FileBytes.h"

namespace tessaly::dap {

LaunchOptions ReadLaunchOptions(const nlohmann::json& arguments) {
    const Arguments args(arguments);
    LaunchOptions o;
    const std::filesystem::path cwd = args.OptionalString("cwd").value_or("");
    const auto resolve = [&](const std::string& path) {
        const std::filesystem::path p(path);
        return p.is_relative() && !cwd.empty() ? cwd / p : p;
    };
    const std::string program = args.String("program");
    if (program.empty()) throw RequestError("'program' is empty");
    o.program = resolve(program);
    o.stopOnEntry = args.Boolean("stopOnEntry", false);
    for (const auto& label : args.Array("labels")) {
        if (!label.is_string()) throw RequestError("'labels' must be a list of file names");
        o.labels.push_back(resolve(label.get<std::string>()));
    }
    if (const nlohmann::json* crystal = args.Find("crystal")) {
        std::optional<double> hz;
        if (crystal->is_number()) {
            const double value = crystal->get<double>();
            if (IsCrystalFrequency(value)) hz = value;
        } else if (crystal->is_string()) {
            hz = ParseCrystalFrequency(crystal->get<std::string>());
        }
        if (!hz) throw RequestError("'crystal' must be a frequency in Hz, with an optional k or M (11.0592M)");
        o.crystal = *hz;
    }
    o.hardwareSerial = args.Boolean("hardwareSerial", false);
    o.xramPaging = args.Boolean("xramPaging", false);
    o.stopOnSelfLoop = args.Boolean("stopOnSelfLoop", false);
    if (const nlohmann::json* input = args.Find("serialInput")) {
        if (input->is_string()) {
            o.serialInput = input->get<std::string>();
        } else if (input->is_array()) {
            for (const auto& byte : *input) {
                if (!byte.is_number_integer() || byte.get<std::int64_t>() < 0 || byte.get<std::int64_t>() > 255) {
                    throw RequestError("'serialInput' as a list holds byte values 0 to 255");
                }
                o.serialInput += static_cast<char>(byte.get<int>());
            }
        } else if (input->is_object()) {
            const std::filesystem::path file = resolve(Arguments(*input).String("file"));
            const auto bytes = ReadWholeFile(file);
            if (!bytes) throw RequestError("Cannot read the serial input file " + file.string());
            o.serialInput = *bytes;
        } else {
            throw RequestError("'serialInput' must be a text, a list of bytes or { \"file\": PATH }");
        }
    }
    return o;
}

}  // namespace tessaly::dap
