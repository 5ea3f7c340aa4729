#include "shell/application.h"

int main(int argc, char** argv) {
    return RunRelcon4(argc, argv);
}
