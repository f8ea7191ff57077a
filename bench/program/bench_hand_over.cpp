// A compositor binding's start of the program (`vantrel --hold press`): time from its start to
// the line reaching the running instance's socket, and to its exit. A socket of this benchmark
// stands in for the running instance. Needs no display.
//
//   bench_hand_over [N]   (arguments that are not a number are ignored)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void report(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-24s median %6.2f ms  p95 %6.2f ms  max %6.2f ms  (n=%zu)\n", what,
                v[v.size() / 2], v[v.size() * 95 / 100], v.back(), v.size());
}

} // namespace

int main(int argc, char** argv) {
    int runs = 50;
    if (argc > 1 && std::atoi(argv[1]) > 0) runs = std::atoi(argv[1]);
    char folder[] = "/tmp/vantrel-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    setenv("XDG_RUNTIME_DIR", folder, 1);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s/io.vantrel.Vantrel.lock.socket",
                  folder);
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    if (bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(server, 8) != 0)
        return 1;
    std::vector<double> heard, exited;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            execl(VT_PROGRAM, VT_PROGRAM, "--hold", "press", static_cast<char*>(nullptr));
            _exit(127);
        }
        const int peer = accept(server, nullptr, nullptr);
        char line[64] = {};
        const bool got = peer >= 0 && read(peer, line, sizeof line - 1) > 0 &&
                         std::string(line) == "hold press\n";
        heard.push_back(ms(Clock::now() - start));
        int status = 0;
        waitpid(child, &status, 0);
        exited.push_back(ms(Clock::now() - start));
        if (peer >= 0) close(peer);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "bench_hand_over: run %d failed\n", i);
            return 1;
        }
    }
    report("start to line heard", heard);
    report("start to exit", exited);
    unlink(address.sun_path);
    rmdir(folder);
    return 0;
}
