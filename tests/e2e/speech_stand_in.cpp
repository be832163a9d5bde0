// The stand-in speech server for the end-to-end scripts: serves SSIP on the
// socket given, as speech-dispatcher would, and writes each text it hears as
// a line of the file given, its SSML markup left out (a screen reader marks
// each word), until SIGTERM or SIGINT.
//
//   speech_stand_in <socket> <file>
#include <csignal>
#include <cstdio>
#include <string>

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
        std::string words;
        bool in_tag = false;
        for (char c : text) {
            in_tag = c == '<' || (in_tag && c != '>');
            if (!in_tag && c != '>') {
                words += c == '\n' ? ' ' : c;
            }
        }
        std::fprintf(heard, "%s\n", words.c_str());
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
