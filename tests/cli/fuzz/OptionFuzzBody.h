#pragma once
// What the option-parser fuzzer does with one input: the bytes split at NUL
// into an argument vector, parsed as the command line is.

#include "cli/OptionParser.h"
#include "request/ConversionRequest.h"

#include <vector>

namespace tarvix {

inline void ParseArgumentBytes(const QByteArray& bytes) {
    std::vector<QByteArray> store{QByteArray("tarvix")};
    for (const QByteArray& part : bytes.split('\0'))
        if (store.size() < 256) store.push_back(part);
    std::vector<char*> argv;
    for (QByteArray& a : store)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const ParameterList params = ParameterList::FromArgv(int(store.size()), argv.data());
    Settings settings;
    ResetSettings(settings, true);
    RunState state;
    ParseOptions(params, settings, state);
}

} // namespace tarvix
