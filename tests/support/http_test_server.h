#pragma once

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::testing {

// The loopback HTTP server of tests/support/http_test_server.py, serving `root`, for as long
// as this object lives.
class HttpTestServer {
public:
    explicit HttpTestServer(const std::string& root) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        std::string program = "python3";
        std::string script = VELMORA_TEST_SERVER;
        std::string rootOption = "--root";
        std::string rootValue = root;
        char* argv[] = {program.data(), script.data(), rootOption.data(), rootValue.data(),
                        nullptr};
        const int spawned = posix_spawnp(&m_pid, "python3", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        if (spawned != 0) {
            close(pipeEnds[0]);
            m_pid = 0;
            return;
        }
        FILE* out = fdopen(pipeEnds[0], "r");
        char line[32] = {};
        if (out != nullptr && fgets(line, sizeof line, out) != nullptr) {
            m_port = std::stoi(line);
        }
        if (out != nullptr) {
            fclose(out);
        }
    }
    ~HttpTestServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
    }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    bool Running() const { return m_port > 0; }
    // "http://127.0.0.1:PORT" + `path`.
    std::string Url(const std::string& path = "") const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    pid_t m_pid = 0;
    int m_port = 0;
};

} // namespace velmora::testing
