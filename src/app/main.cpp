#include "app/entry.h"

int main(int argc, char** argv) {
    return tarvik::RunProgram(argc, argv);
}
