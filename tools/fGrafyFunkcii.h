// The graph window: the plot of y = f(x) with its two rulers, and buttons
// that move the view, change the scale per axis, change the grid density and
// switch the trigonometric grid. All view logic is the model's (TGrafFunkcie);
// the window owns the three images, forwards each control to one model
// operation and applies the language file.
//
// The window runs at the process's normal priority: raising the process to a
// real-time class while the graph is shown does nothing for an unprivileged
// program on Linux, so it is left out.
#pragma once

#include "uGrafFunkcie.h"

#include <QImage>
#include <QWidget>
#include <memory>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

// A canvas: an image that the model paints in place, shown at the top-left
// corner of the control.
class TObrazGrafu : public QWidget {
public:
    explicit TObrazGrafu(QWidget *parent = nullptr) : QWidget(parent) {}
    QImage Picture;

protected:
    void paintEvent(QPaintEvent *event) override;
};

class TGrafyFunkciiFrm : public QWidget {
    Q_OBJECT
public:
    // A window of parent (destroyed with it). The sampler factory goes to the
    // model (the engine's compiled function of x when empty).
    explicit TGrafyFunkciiFrm(QWidget *parent = nullptr, TGrafFunkcie::TSamplerFactory samplerFactory = {});
    ~TGrafyFunkciiFrm() override;

    // A new function: the view is reset, the trigonometric mode follows from
    // the text, the caption shows the text, and the plot is drawn.
    void SetFunction(const QString &text);
    void ApplyLanguage();

    const TGrafFunkcie &Graph() const { return *m_graph; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PlaceControls();
    // Runs one operation of the model and shows the new pictures.
    template <class F>
    void Do(F operation);
    int Step() const;
    // Gives the vertical ruler the width of its widest label.
    void FitRuler();

    std::unique_ptr<TGrafFunkcie> m_graph;
    int m_lastMouseX = 0;
    int m_lastMouseY = 0;
    QString m_captionPrefix;
    int m_rulerWidth = 26; // the vertical ruler's, as designed until a label needs more

    QFrame *Shape1;
    TObrazGrafu *grafImg;
    TObrazGrafu *vodorovnePravitkoImg;
    TObrazGrafu *zvislePravitkoImg;
    QLabel *Label1;
    QWidget *ovladaniePnl;
    QGroupBox *PohybGpb;
    QPushButton *vystredBtn;
    QPushButton *vpravoBtn;
    QPushButton *horeBtn;
    QPushButton *doleBtn;
    QPushButton *vlavoBtn;
    QSpinBox *posunUpd;
    QGroupBox *mierkaGpb;
    QPushButton *priblizBtn;
    QPushButton *oddialBtn;
    QPushButton *priblizXBtn;
    QPushButton *oddialXBtn;
    QPushButton *priblizYBtn;
    QPushButton *oddialYBtn;
    QGroupBox *MriezkaGpb;
    QPushButton *zvacsiMriezkuBtn;
    QPushButton *zmensiMriezkuBtn;
    QPushButton *zvacsiiMriezkuXBtn;
    QPushButton *zmensiMriezkuXBtn;
    QPushButton *zcacsiiMriezkuYBtn;
    QPushButton *zmensiMriezkuYBtn;
    QCheckBox *goniometrickaChb;
};
