// The process entry (a GUI program: MinGW calls main for -mwindows too). The
// command line is not read.
#include "app/program.h"

int main() {
    app::StartUp();
    app::Shutdown();
}
