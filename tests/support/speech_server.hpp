// A stand-in for speech-dispatcher: an SSIP server on a Unix socket that
// answers what speech-dispatcher's client library says as the real server
// does, and keeps every text it is asked to speak. The unit tests run it on
// a thread of their own; tests/e2e/speech_stand_in.cpp runs it for the
// end-to-end scripts.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace harness {

class SpeechServer {
public:
    // Listens on `socket_path` (replacing any file there); `heard` is called
    // on the server's thread with each text as it arrives.
    explicit SpeechServer(std::string socket_path,
                          std::function<void(const std::string&)> heard = nullptr);
    ~SpeechServer();
    SpeechServer(const SpeechServer&) = delete;
    SpeechServer& operator=(const SpeechServer&) = delete;

    // False when the socket could not be made (the reason is on standard error).
    bool listening() const { return listen_fd_ >= 0; }

    // The value of SPEECHD_ADDRESS that points speech-dispatcher's clients here.
    std::string address() const { return "unix_socket:" + path_; }

    // The texts heard so far, in order. A client that has its answer to a
    // text finds it here.
    std::vector<std::string> texts();

    // Serves on a thread of its own, until the server is destroyed.
    void start();

    // Serves on the calling thread until stop(), which a signal handler may call.
    void serve();
    void stop();

    // While held, a text is kept as it comes but answered only once let go:
    // a client that speaks waits, as it would for a busy server.
    void hold(bool held);

private:
    std::string path_;
    std::function<void(const std::string&)> heard_;
    int listen_fd_ = -1;
    int wake_fds_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> held_{false};

    std::mutex lock_;
    std::vector<std::string> texts_;
    std::thread thread_;
};

}  // namespace harness
