#include "relevo.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvalo::bench {

namespace {

using Reloj = std::chrono::steady_clock;

sockaddr_in direccion(std::uint16_t puerto) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(puerto);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

void sinNagle(int s) {
    int uno = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &uno, sizeof uno);
}

bool escribirTodo(int s, const char *p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::send(s, p, n, MSG_NOSIGNAL);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= std::size_t(w);
    }
    return true;
}

} // namespace

Relevo::Relevo(std::uint16_t puerto, std::uint16_t destino, int retrasoUs)
    : puerto_(puerto), destino_(destino), retrasoUs_(retrasoUs) {
    escucha_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (escucha_ < 0)
        throw std::runtime_error("relay: socket");
    int uno = 1;
    setsockopt(escucha_, SOL_SOCKET, SO_REUSEADDR, &uno, sizeof uno);
    const sockaddr_in a = direccion(puerto);
    if (::bind(escucha_, reinterpret_cast<const sockaddr *>(&a), sizeof a) != 0 ||
        ::listen(escucha_, 64) != 0) {
        const std::string e = std::strerror(errno);
        ::close(escucha_);
        throw std::runtime_error("relay: cannot listen on 127.0.0.1:" + std::to_string(puerto) + ": " + e);
    }
    aceptador_ = std::thread([this] { aceptar(); });
}

Relevo::~Relevo() {
    parar_ = true;
    ::shutdown(escucha_, SHUT_RDWR);
    aceptador_.join();
    ::close(escucha_);
    {
        std::lock_guard<std::mutex> l(m_);
        for (int s : sockets_)
            ::shutdown(s, SHUT_RDWR);
    }
    for (std::thread &t : bombas_)
        t.join();
    for (int s : sockets_)
        ::close(s);
}

void Relevo::aceptar() {
    while (!parar_) {
        pollfd p{escucha_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const int cliente = ::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC);
        if (cliente < 0)
            continue;
        const int servidor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a = direccion(destino_);
        if (servidor < 0 || ::connect(servidor, reinterpret_cast<const sockaddr *>(&a), sizeof a) != 0) {
            ::close(cliente);
            if (servidor >= 0)
                ::close(servidor);
            continue;
        }
        sinNagle(cliente);
        sinNagle(servidor);
        std::lock_guard<std::mutex> l(m_);
        sockets_.push_back(cliente);
        sockets_.push_back(servidor);
        bombas_.emplace_back([this, cliente, servidor] { bombear(cliente, servidor); });
        bombas_.emplace_back([this, cliente, servidor] { bombear(servidor, cliente); });
    }
}

// One direction: what arrives is stamped and sent on once its delay has passed. The wait uses
// ppoll's nanosecond timeout, so the delay is kept to within the kernel's timer slack.
void Relevo::bombear(int desde, int hacia) {
    struct Trozo {
        Reloj::time_point cuando;
        std::vector<char> datos;
    };
    std::deque<Trozo> cola;
    const auto retraso = std::chrono::microseconds(retrasoUs_);
    bool abierto = true;
    std::vector<char> buf(64 * 1024);
    while (!parar_ && (abierto || !cola.empty())) {
        const auto ahora = Reloj::now();
        while (!cola.empty() && cola.front().cuando <= ahora) {
            if (!escribirTodo(hacia, cola.front().datos.data(), cola.front().datos.size())) {
                abierto = false;
                cola.clear();
                break;
            }
            cola.pop_front();
        }
        if (!abierto && cola.empty())
            break;
        timespec espera{0, 100'000'000};
        if (!cola.empty()) {
            const auto falta =
                std::chrono::duration_cast<std::chrono::nanoseconds>(cola.front().cuando - Reloj::now());
            const long long ns = std::max<long long>(0, falta.count());
            espera = {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        }
        pollfd p{desde, short(abierto ? POLLIN : 0), 0};
        const int r = ::ppoll(&p, 1, &espera, nullptr);
        if (r > 0 && abierto) {
            const ssize_t n = ::recv(desde, buf.data(), buf.size(), 0);
            if (n > 0)
                cola.push_back({Reloj::now() + retraso, std::vector<char>(buf.data(), buf.data() + n)});
            else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                abierto = false;
        }
    }
    // The other side learns the end as it would over a network.
    ::shutdown(hacia, SHUT_WR);
}

} // namespace corvalo::bench
