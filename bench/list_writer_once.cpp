// Writes one list and exits: list_writer_once FOLDER TARGET. The exit code is
// 0 when the list was created and 1 + the outcome's number otherwise.
#include "listing/list_writer.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: list_writer_once FOLDER TARGET\n");
        return 64;
    }
    const listing::ListOutcome outcome =
        listing::WriteFolderList(argv[1], listing::CaseMode::AsIs, argv[2]);
    return outcome == listing::ListOutcome::Created ? 0 : 1 + static_cast<int>(outcome);
}
