// SPDX-License-Identifier: MIT
// Writes our six chimes as <Name>.wav into the folder given as the only argument.
#include "ChimeSynth.h"

#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: sorvala-generate-chimes OUTPUT_DIR\n";
        return 2;
    }
    for (const char* name : {"Glass", "Submarine", "Hero", "Purr", "Pop", "Tink"}) {
        const auto samples = sorvala::ChimeSynth::synthesise(name);
        const auto bytes = sorvala::ChimeSynth::encodeWav(*samples);
        const std::string path = std::string(argv[1]) + "/" + name + ".wav";
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::cerr << "sorvala-generate-chimes: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
