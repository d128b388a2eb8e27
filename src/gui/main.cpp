#include "gui/window_start.h"

int main(int argc, char** argv) {
    return tarvik::RunWindowFrontEnd(argc, argv);
}
