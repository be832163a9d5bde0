// The stand-in speech server for the end-to-end scripts: serves SSIP on the
// socket given, as speech-dispatcher would, and writes each text it hears as
// a line of the file given, until SIGTERM or SIGINT.
//
//   speech_stand_in <socket> <file>
#include <csignal>
#include <cstdio>

#include "support/speech_server.hpp"

namespace {

harness::SpeechServer* server = nullptr;

void stop(int)
{
    server->stop();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: speech_stand_in <socket> <file>\n");
        return 2;
    }
    std::FILE* heard = std::fopen(argv[2], "a");
    if (heard == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    harness::SpeechServer listening(argv[1], [heard](const std::string& text) {
        std::fprintf(heard, "%s\n", text.c_str());
        std::fflush(heard);
    });
    if (!listening.listening()) {
        return 1;
    }
    server = &listening;
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    listening.serve();
    std::fclose(heard);
    return 0;
}
