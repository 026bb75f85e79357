// A TCP relay that stands for a real network between a booth and the central server: every
// byte is held for a fixed delay before it goes on, in each direction, so a statement's round
// trip grows by twice the delay. It listens on 127.0.0.1 and serves connections until it is
// destroyed; each connection is one thread a direction.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

namespace corvalo::bench {

class Relevo {
public:
    // Listens on 127.0.0.1:`puerto` and forwards to 127.0.0.1:`destino`, holding every chunk
    // for `retrasoUs` microseconds a direction. Throws std::runtime_error when it cannot listen.
    Relevo(std::uint16_t puerto, std::uint16_t destino, int retrasoUs);
    ~Relevo();
    Relevo(const Relevo &) = delete;
    Relevo &operator=(const Relevo &) = delete;

    std::uint16_t puerto() const { return puerto_; }

private:
    void aceptar();
    void bombear(int desde, int hacia);

    std::uint16_t puerto_, destino_;
    int retrasoUs_;
    int escucha_ = -1;
    std::atomic<bool> parar_{false};
    std::thread aceptador_;
    std::mutex m_;
    std::list<std::thread> bombas_;
    std::list<int> sockets_;
};

} // namespace corvalo::bench
