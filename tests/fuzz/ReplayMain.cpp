// Replay driver for fuzz targets built without libFuzzer: runs the target on
// every file of the corpus folders given, then on deterministic mutations of
// them (byte flips, truncations, splices), so a plain build still exercises
// the reader's error paths. Any crash or sanitizer report fails the test; the
// target itself decides what a clean rejection is.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{

std::vector<std::string> ReadCorpus(int argc, char** argv)
{
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path folder = argv[i];
        if (!std::filesystem::is_directory(folder))
            continue;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end()); // deterministic order
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    return inputs;
}

void Run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> corpus = ReadCorpus(argc, argv);
    for (const std::string& input : corpus)
        Run(input);
    Run("");

    std::mt19937 random(12345);
    const int mutationsPerInput = corpus.empty() ? 0 : 4000 / static_cast<int>(corpus.size()) + 1;
    for (const std::string& original : corpus) {
        for (int m = 0; m < mutationsPerInput && !original.empty(); ++m) {
            std::string input = original;
            switch (random() % 4) {
            case 0: // flip a few bytes
                for (int k = 0; k < 1 + static_cast<int>(random() % 4); ++k)
                    input[random() % input.size()] = static_cast<char>(random());
                break;
            case 1: // truncate
                input.resize(random() % input.size());
                break;
            case 2: { // splice a piece of another input
                const std::string& other = corpus[random() % corpus.size()];
                if (!other.empty()) {
                    const size_t at = random() % input.size();
                    input = input.substr(0, at) + other.substr(random() % other.size());
                }
                break;
            }
            default: // duplicate a range
                input.insert(random() % input.size(), input.substr(random() % input.size(), random() % 64));
                break;
            }
            Run(input);
        }
    }
    std::printf("replayed %zu inputs and their mutations\n", corpus.size());
    return 0;
}
