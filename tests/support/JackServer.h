#pragma once
// A private JACK server with the dummy driver, for tests and benchmarks that need real
// MIDI ports: `jackd -S -t 10000 -n NAME -d dummy -r 48000 -p 256`, waited for with
// `jack_wait -w`, and made this process's default server (JACK_DEFAULT_SERVER). Stopped and
// reaped when the object goes away. Benchmarks choose the period and may run the server as
// a real one runs (asynchronously).
//
// The server runs synchronously (-S): each period waits until every client has finished it
// (up to 10 s). In JACK's default asynchronous mode a client still busy when the next period
// starts misses a period (an xrun), and the MIDI its upstream client wrote in that period
// never reaches it — on a loaded machine or under a sanitizer that happens by chance, and
// the tests are about what our ports do, not about how fast this machine is.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace chordella::testing {

class JackServer {
public:
    JackServer() = default;
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;
    ~JackServer() { Stop(); }

    // False with `why` set when jackd cannot be started here.
    bool Start(std::string& why, int periodFrames = 256, bool synchronous = true) {
        name_ = "chordella-test-" + std::to_string(getpid());
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        std::vector<std::string> command = {"jackd", "-t", "10000", "-n", name_, "-d", "dummy", "-r", "48000",
                                            "-p", std::to_string(periodFrames)};
        if (synchronous) command.insert(command.begin() + 1, "-S");
        pid_ = Spawn(command);
        if (pid_ <= 0) {
            why = "jackd could not be run (is jackd2 installed?)";
            return false;
        }
        const pid_t waiter = Spawn({"jack_wait", "-w", "-t", "60"});
        int status = 0;
        const bool ready = waiter > 0 && waitpid(waiter, &status, 0) == waiter && WIFEXITED(status) &&
                           WEXITSTATUS(status) == 0;
        if (!ready || waitpid(pid_, &status, WNOHANG) != 0) {
            why = "jackd -d dummy did not come up within 60 s";
            Stop();
            return false;
        }
        return true;
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    const std::string& Name() const { return name_; }

    // Counts the server's xruns (periods some client did not finish in time) while it lives,
    // so that a test can say whether its server kept up.
    class XrunCount {
    public:
        XrunCount() {
            client_ = jack_client_open("xrun-count", JackNoStartServer, nullptr);
            if (!client_) return;
            jack_set_xrun_callback(client_, &XrunCount::Count, this);
            jack_activate(client_);
        }
        ~XrunCount() {
            if (client_) jack_client_close(client_);
        }
        XrunCount(const XrunCount&) = delete;
        XrunCount& operator=(const XrunCount&) = delete;
        int Value() const { return count_.load(); }

    private:
        static int Count(void* self) {
            static_cast<XrunCount*>(self)->count_.fetch_add(1);
            return 0;
        }
        jack_client_t* client_ = nullptr;
        std::atomic<int> count_{0};
    };

private:
    // Runs a program found on PATH with its output thrown away.
    static pid_t Spawn(const std::vector<std::string>& arguments) {
        std::vector<char*> argv;
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        return failed ? -1 : pid;
    }

    std::string name_;
    pid_t pid_ = -1;
};

}  // namespace chordella::testing
