// artgen <repo-root>: regenerates the Kestrel skin, icons and review pictures.
#include <exception>
#include <filesystem>
#include <iostream>

#include "generate.h"

int main(int argc, char** argv) {
    if (argc != 2 || !std::filesystem::is_directory(argv[1])) {
        std::cerr << "usage: artgen <repo-root>\n";
        return 2;
    }
    try {
        const int n = art::generate(argv[1]);
        std::cout << "artgen: wrote " << n << " skin files and icons, review pictures in out/art\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "artgen: " << e.what() << "\n";
        return 1;
    }
}
