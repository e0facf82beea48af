// Takes the single-instance lock for the name it is given and holds it until its standard input
// ends. Prints "acquired", or the reason it could not, on one line; exit status 0 or 1.
// usage: lock-probe NAME

#include <cstdio>
#include <iostream>

#include "app/instance_lock.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lock-probe NAME\n";
        return 2;
    }
    qv::InstanceLock lock;
    if (lock.acquire(argv[1]) != qv::InstanceLock::Result::acquired) {
        std::cout << lock.error() << std::endl;
        return 1;
    }
    std::cout << "acquired" << std::endl;
    while (std::getchar() != EOF) {
    }
    return 0;
}
