// A scripted network: each URL answers with a status, an optional length and
// a sequence of reads. Records what the program asked for.
#pragma once

#include "platform/network.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace doubles {

struct Read {
    std::string bytes;
    bool ok = true; // InternetReadFile's result flag
};

struct Answer {
    bool opens = true;
    int status = 200;
    bool hasLength = false;
    std::uint64_t length = 0;
    std::vector<Read> reads; // after these, reads succeed with 0 bytes
};

struct Network {
    bool starts = true;
    bool started = false;
    bool stopped = false;
    std::map<std::string, Answer> answers; // URLs not here do not open
    std::vector<std::string> openedUrls;
    std::vector<unsigned> openFlags;
    std::vector<std::string> agents;
    std::vector<int> accessTypes;
    std::vector<std::size_t> askedSizes; // every read's size, in order
    unsigned timeout = 0;
    int openHandles = 0;
};

Network& Net();
void ResetNetwork();

// An answer of 200 whose body arrives in pieces of at most `piece` bytes.
Answer BodyInPieces(const std::string& body, std::size_t piece = 2048);

} // namespace doubles
