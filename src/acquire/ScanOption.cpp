#include "acquire/ScanOption.h"

namespace halvera {

const ScanOption* FindScanOption(const std::vector<ScanOption>& options, const std::string& name) {
    for (const ScanOption& option : options) {
        if (option.type != ScanValueType::Group && option.name == name)
            return &option;
    }
    return nullptr;
}

} // namespace halvera
