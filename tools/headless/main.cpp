#include <iostream>
#include <string_view>
#include <vector>

#include "headless_run.h"
#include "options.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = qv::headless::parseOptions(arguments, error);
    if (!options) {
        std::cerr << "quorvantile-headless: " << error << '\n' << qv::headless::kUsage << '\n';
        return qv::headless::kBadInvocation;
    }
    return qv::headless::runHeadless(*options, std::cout, std::cerr);
}
