// The stand-in speech server (see speech_server.hpp). It speaks SSIP as far
// as speech-dispatcher's client libraries need (the C one the game loads, the
// Python one a screen reader uses): every command is answered with success,
// the questions a client asks at start with what a server would say, and
// SPEAK takes the lines that follow up to a lone "." as one text.
#include "support/speech_server.hpp"

#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace harness {

namespace {

struct Client {
    std::string pending;  // bytes not yet making a whole line
    bool in_text = false;
    std::string text;
};

void send_text(int fd, const char* reply)
{
    const size_t length = std::strlen(reply);
    size_t sent = 0;
    while (sent < length) {
        const ssize_t n = ::send(fd, reply + sent, length - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<size_t>(n);
    }
}

}  // namespace

SpeechServer::SpeechServer(std::string socket_path, std::function<void(const std::string&)> heard)
    : path_(std::move(socket_path)), heard_(std::move(heard))
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof address.sun_path || ::pipe(wake_fds_) != 0) {
        std::fprintf(stderr, "speech server: cannot listen on %s\n", path_.c_str());
        return;
    }
    std::strcpy(address.sun_path, path_.c_str());
    ::unlink(path_.c_str());
    listen_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // Anyone may speak to it: the end-to-end scripts play games as other users.
    if (listen_fd_ < 0 ||
        ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path_.c_str(), 0666) != 0 || ::listen(listen_fd_, 8) != 0) {
        std::perror(("speech server: " + path_).c_str());
        if (listen_fd_ >= 0) {
            ::close(listen_fd_);
        }
        listen_fd_ = -1;
    }
}

SpeechServer::~SpeechServer()
{
    stop();
    if (thread_.joinable()) {
        thread_.join();
    }
    for (int fd : {listen_fd_, wake_fds_[0], wake_fds_[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ::unlink(path_.c_str());
}

void SpeechServer::start()
{
    thread_ = std::thread([this] { serve(); });
}

void SpeechServer::stop()
{
    stopping_ = true;
    hold(false);
}

void SpeechServer::hold(bool held)
{
    held_ = held;
    if (wake_fds_[1] >= 0) {
        const char byte = 0;
        (void)!::write(wake_fds_[1], &byte, 1);
    }
}

std::vector<std::string> SpeechServer::texts()
{
    std::lock_guard<std::mutex> hold(lock_);
    return texts_;
}

void SpeechServer::serve()
{
    std::map<int, Client> clients;
    std::vector<int> unanswered;  // clients whose text waits for its answer
    while (!stopping_ && listen_fd_ >= 0) {
        if (!held_) {
            for (int fd : unanswered) {
                send_text(fd, "225-1\r\n225 OK MESSAGE QUEUED\r\n");
            }
            unanswered.clear();
        }
        std::vector<pollfd> watched = {{wake_fds_[0], POLLIN, 0}, {listen_fd_, POLLIN, 0}};
        for (const auto& client : clients) {
            watched.push_back({client.first, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            continue;  // a signal: look at stopping_ again
        }
        if ((watched[0].revents & POLLIN) != 0) {
            char bytes[16];
            (void)!::read(wake_fds_[0], bytes, sizeof bytes);
        }
        if ((watched[1].revents & POLLIN) != 0) {
            const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                clients[fd] = Client{};
            }
        }
        for (size_t i = 2; i < watched.size(); ++i) {
            if (watched[i].revents == 0) {
                continue;
            }
            const int fd = watched[i].fd;
            Client& client = clients[fd];
            char buffer[4096];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) {
                ::close(fd);
                clients.erase(fd);
                continue;
            }
            client.pending.append(buffer, static_cast<size_t>(got));
            for (size_t end; (end = client.pending.find("\r\n")) != std::string::npos;) {
                const std::string line = client.pending.substr(0, end);
                client.pending.erase(0, end + 2);
                if (client.in_text && line == ".") {
                    // Kept before the answer: once the client has it, the text is heard.
                    client.in_text = false;
                    {
                        std::lock_guard<std::mutex> hold(lock_);
                        texts_.push_back(client.text);
                    }
                    if (heard_) {
                        heard_(client.text);
                    }
                    if (held_) {
                        unanswered.push_back(fd);
                    } else {
                        send_text(fd, "225-1\r\n225 OK MESSAGE QUEUED\r\n");
                    }

                } else if (client.in_text) {
                    // A line of the text; a leading dot is doubled on the way.
                    client.text += (client.text.empty() ? "" : "\n") +
                                   (line.rfind("..", 0) == 0 ? line.substr(1) : line);
                } else if (strncasecmp(line.c_str(), "SPEAK", 5) == 0) {
                    client.in_text = true;
                    client.text.clear();
                    send_text(fd, "230 OK RECEIVING DATA\r\n");
                } else if (strncasecmp(line.c_str(), "QUIT", 4) == 0) {
                    send_text(fd, "231 HAPPY HACKING\r\n");
                } else if (strncasecmp(line.c_str(), "HISTORY GET CLIENT_ID", 21) == 0) {
                    send_text(fd, "240-1\r\n240 OK CLIENT ID SENT\r\n");
                } else if (strncasecmp(line.c_str(), "LIST OUTPUT_MODULES", 19) == 0) {
                    send_text(fd, "250-stand-in\r\n250 OK MODULE LIST SENT\r\n");
                } else if (strncasecmp(line.c_str(), "LIST", 4) == 0) {
                    send_text(fd, "249-MALE1\r\n249 OK VOICE LIST SENT\r\n");
                } else if (strncasecmp(line.c_str(), "GET", 3) == 0) {
                    send_text(fd, "251-stand-in\r\n251 OK GET RETURNED\r\n");
                } else {
                    send_text(fd, "200 OK\r\n");
                }
            }
        }
    }
    for (const auto& client : clients) {
        ::close(client.first);
    }
}

}  // namespace harness
