// The public boards "VISOR": full-screen windows on the workstation's display that show the current
// race, refreshed every five seconds. F11 toggles full screen, Escape closes.
#pragma once

#include "celda_visor.h"
#include "visor.h"

#include <QFrame>
#include <QWidget>

#include <array>

class QScreen;
class QTimer;

namespace corvalo {

// Frame_CAB: the board; tells when its columns have been laid out again.
class MarcoTablero : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
signals:
    void distribuido();

protected:
    bool event(QEvent *ev) override;
    void resizeEvent(QResizeEvent *ev) override;
};

// What the two boards share; Form_Pantalla_Triple and Form_PantDoble choose the columns.
class Form_Visor : public QWidget {
    Q_OBJECT
public:
    Form_Visor(Contexto &ctx, AzarVisor &azar, TipoVisor tipo, QWidget *parent);

    // Shows the board full screen on `pantalla`, in front.
    void mostrarEn(QScreen *pantalla);
    // F11: full screen or a window on most of the screen.
    void alternarPantallaCompleta();

    // The design's operations.
    void Form_Load();
    void Cuadrar();
    void Limpiar();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer_Activo_Timer();

    const TableroVisor &tablero() const { return tablero_; }
    TipoVisor tipo() const { return tablero_.tipo; }
    int juegoBanner() const { return juego_; }

    // Per row (16 on the triple board, 14 on the double; the rest stay null).
    std::array<CeldaVisor *, kFilasMaximas> Label_numero{}, Label_caballos{}, Label_Jinete{}, Text_Dinm{},
        Text_TF{}, Text_PT{}, Text_ETI_RET{};
    std::array<FlechaVisor *, kFilasMaximas> Picture_Flecha{};
    // Kept per row, never shown.
    std::array<QLabel *, kFilasMaximas> Text_IdCaballo{}, Text_retirado{}, Text_D2{};

    MarcoTablero *Frame_CAB;
    QFrame *Frame_TD = nullptr, *Frame_TF, *Frame_PT, *Frame_Mensaje;
    CeldaVisor *Label_TD = nullptr, *Text_Total = nullptr, *Label_TF, *Text_Total2, *Label_PT;
    CeldaVisor *Label_Barner, *Label_Carrera, *Label_estado, *Label_m, *Text1, *Text_Mensaje;
    QTimer *Timer1, *Timer2, *Timer3, *Timer_Activo;

signals:
    // The board closed (the central connection was opened again).
    void cerrada();
    // The user's account is suspended: the program must end.
    void suspendido();

protected:
    void closeEvent(QCloseEvent *ev) override; // Form_Unload
    void keyPressEvent(QKeyEvent *ev) override;
    void resizeEvent(QResizeEvent *ev) override;
    void showEvent(QShowEvent *ev) override;

private:
    QFrame *columna(const QString &nombre, CeldaVisor *cabecera,
                    std::array<CeldaVisor *, kFilasMaximas> *celdas, CeldaVisor *total,
                    bool conFlechas = false);
    void mostrarTablero();
    // Shares the board's height among its first `n` rows.
    void dibujarFilas(int n);
    void anotarCuadre(const ResultadoCuadre &r);
    void reescalar();
    void colocarBanners();
    void registrar(const QString &accion, const QString &error);
    void detenerTemporizadores();

    Contexto &ctx_;
    AzarVisor &azar_;
    TableroVisor tablero_;
    int juego_ = kJuegoApertura;
    int filasDibujadas_ = 0;
    bool cargado_ = false;
    bool terminando_ = false;
    QString ultimaFalla_;
    QFrame *Frame_Numeros, *Frame_Caballos, *Frame_Jinetes = nullptr;
    QWidget *franja_;
    QRect normal_;
};

class Form_Pantalla_Triple : public Form_Visor {
    Q_OBJECT
public:
    Form_Pantalla_Triple(Contexto &ctx, AzarVisor &azar, QWidget *parent = nullptr);
};

class Form_PantDoble : public Form_Visor {
    Q_OBJECT
public:
    Form_PantDoble(Contexto &ctx, AzarVisor &azar, QWidget *parent = nullptr);
};

} // namespace corvalo
