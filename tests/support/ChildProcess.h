#pragma once

#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// Runs body in a child process and returns its exit status (-1 for a signal).
template <typename Body>
int InChild(Body body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs body(i) in count child processes that all start at one moment (each
// waits on a pipe the parent then closes), while the parent runs meanwhile();
// returns each child's exit status (-1 for a signal).
template <typename Body, typename Meanwhile>
std::vector<int> TogetherInChildren(int count, Body body, Meanwhile meanwhile)
{
    int gate[2];
    if (pipe(gate) != 0)
        return std::vector<int>(static_cast<std::size_t>(count), -1);
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            close(gate[1]);
            char byte;
            while (read(gate[0], &byte, 1) > 0) {
            }
            _exit(body(i));
        }
        children.push_back(child);
    }
    close(gate[0]);
    close(gate[1]);
    meanwhile();
    std::vector<int> statuses;
    for (const pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    return statuses;
}
