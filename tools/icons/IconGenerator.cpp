// Draws the toolbar icons, the application icon (also at the icon theme's
// sizes) and the splash picture of Halvera into PNG files. Run through
// tools/icons/generate-icons.sh; the results are committed under resources/.
#include <QApplication>
#include <QConicalGradient>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 90, 200);
const QColor kRed(210, 40, 40);
const QColor kGreen(30, 150, 60);
const QColor kYellow(240, 200, 40);
const QColor kGrey(150, 150, 160);
const QColor kLight(220, 225, 235);

QPen Pen(const QColor& color, qreal width = 1.0, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(color, width, style, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

void Page(QPainter& p) {
    QPainterPath path;
    path.moveTo(3.5, 1.5);
    path.lineTo(10.5, 1.5);
    path.lineTo(13.5, 4.5);
    path.lineTo(13.5, 14.5);
    path.lineTo(3.5, 14.5);
    path.closeSubpath();
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(QPolygonF{{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}});
}

void Printer(QPainter& p, const QColor& sheet) {
    p.setPen(Pen(kInk));
    p.setBrush(sheet);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(Pen(kGreen, 1.5));
    p.drawPoint(QPointF(12.5, 8.5));
}

void Magnifier(QPainter& p, const QColor& lens) {
    p.setPen(Pen(kInk, 2.5));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(lens);
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
}

void CurvedArrow(QPainter& p, bool toLeft) {
    if (!toLeft) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath arc;
    arc.moveTo(4, 6);
    arc.cubicTo(8, 2, 15, 4, 13, 10);
    arc.cubicTo(12, 13, 9, 14, 7, 14);
    p.setPen(Pen(kBlue, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{{1, 6}, {7, 2}, {7, 10}});
}

void Marquee(QPainter& p, bool ellipse) {
    p.setPen(Pen(kInk, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    if (ellipse)
        p.drawEllipse(QRectF(1.5, 3.5, 13, 9));
    else
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
}

void Triangle(QPainter& p, qreal x, bool right) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    if (right)
        p.drawPolygon(QPolygonF{{x, 3}, {x + 6, 8}, {x, 13}});
    else
        p.drawPolygon(QPolygonF{{x + 6, 3}, {x, 8}, {x + 6, 13}});
}

void Bar(QPainter& p, qreal x) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(x, 3, 2, 10));
}

void Handles(QPainter& p, std::initializer_list<QPointF> points) {
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    for (const QPointF& point : points)
        p.drawRect(QRectF(point.x() - 1.5, point.y() - 1.5, 3, 3));
}

void Cross(QPainter& p, QPointF c, const QColor& color) {
    p.setPen(Pen(color, 1.2));
    p.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
    p.drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
}

void Film(QPainter& p, QRectF r) {
    p.setPen(Pen(kInk));
    p.setBrush(kGrey);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    for (qreal x = r.left() + 1.5; x < r.right() - 1; x += 3) {
        p.drawRect(QRectF(x, r.top() + 1, 1.5, 1.5));
        p.drawRect(QRectF(x, r.bottom() - 2.5, 1.5, 1.5));
    }
}

void Text(QPainter& p, QRectF r, const QString& text, int pixels, const QColor& color,
          bool bold = true) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixels);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void Camera(QPainter& p) {
    p.setPen(Pen(kInk));
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    p.drawRect(QRectF(5.5, 2.5, 5, 2));
    p.setBrush(kLight);
    p.drawEllipse(QPointF(8, 9), 3, 3);
}

void CircularArrow(QPainter& p, const QColor& color) {
    p.setPen(Pen(color, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF{{5.5, 0.5}, {9.5, 3}, {5.5, 5.5}});
}

std::map<std::string, Draw> Icons() {
    std::map<std::string, Draw> icons;
    icons["scan-image"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kLight);
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 7), 1, 1);
        p.setBrush(kGrey);
        p.drawRect(QRectF(1.5, 3.5, 13, 3));
        p.setPen(Pen(kGreen, 1.5));
        p.drawLine(QPointF(3, 9.5), QPointF(13, 9.5));
    };
    icons["file-new"] = [](QPainter& p) {
        Page(p);
    };
    icons["file-open"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kYellow.darker(115));
        p.drawPolygon(
            QPolygonF{{1.5, 3.5}, {5.5, 3.5}, {7, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}});
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF{{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13.5, 13.5}});
    };
    icons["file-save"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{{1.5, 1.5}, {12.5, 1.5}, {14.5, 3.5}, {14.5, 14.5}, {1.5, 14.5}});
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(kLight);
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    };
    icons["file-print"] = [](QPainter& p) {
        Printer(p, kPaper);
    };
    icons["edit-undo"] = [](QPainter& p) {
        CurvedArrow(p, true);
    };
    icons["edit-redo"] = [](QPainter& p) {
        CurvedArrow(p, false);
    };
    icons["crop"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 2));
        p.drawPolyline(QPolygonF{{4, 1}, {4, 12}, {15, 12}});
        p.drawPolyline(QPolygonF{{1, 4}, {12, 4}, {12, 15}});
    };
    icons["edit-cut"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.4));
        p.drawLine(QPointF(4, 1), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 1), QPointF(5.5, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(kRed, 1.4));
        p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
    };
    icons["edit-copy"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kLight);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.setBrush(kPaper);
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
        p.drawLine(QPointF(8.5, 7.5), QPointF(12.5, 7.5));
        p.drawLine(QPointF(8.5, 10.5), QPointF(12.5, 10.5));
    };
    icons["edit-paste"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(QColor(170, 120, 60));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
        p.setBrush(kGrey);
        p.drawRect(QRectF(4.5, 1.5, 4, 2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 6.5, 7, 8));
    };
    icons["brightness-contrast"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.setBrush(kInk);
        p.drawPie(QRectF(1.5, 1.5, 13, 13), 90 * 16, 180 * 16);
    };
    icons["color-balance"] = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.setBrush(QColor(255, 90, 90));
        p.drawEllipse(QPointF(8, 5.5), 4.5, 4.5);
        p.setBrush(QColor(90, 220, 90));
        p.drawEllipse(QPointF(5.5, 10), 4.5, 4.5);
        p.setBrush(QColor(90, 120, 255));
        p.drawEllipse(QPointF(10.5, 10), 4.5, 4.5);
    };
    icons["hue-saturation"] = [](QPainter& p) {
        QConicalGradient wheel(QPointF(8, 8), 0);
        const QColor stops[] = {Qt::red,  Qt::yellow,  Qt::green, Qt::cyan,
                                Qt::blue, Qt::magenta, Qt::red};
        for (int i = 0; i < 7; ++i)
            wheel.setColorAt(i / 6.0, stops[i]);
        p.setPen(Pen(kInk));
        p.setBrush(wheel);
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        QRadialGradient white(QPointF(8, 8), 6.5);
        white.setColorAt(0, Qt::white);
        white.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    };
    icons["calibration"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF{
            {1.5, 1.5}, {5.5, 1.5}, {5.5, 10.5}, {14.5, 10.5}, {14.5, 14.5}, {1.5, 14.5}});
        for (int i = 0; i < 4; ++i) {
            p.drawLine(QPointF(1.5, 3.5 + 2 * i), QPointF(3.5, 3.5 + 2 * i));
            p.drawLine(QPointF(7.5 + 2 * i, 14.5), QPointF(7.5 + 2 * i, 12.5));
        }
    };
    icons["lasso"] = [](QPainter& p) {
        QPainterPath path;
        path.moveTo(6, 13);
        path.cubicTo(0, 12, 0, 3, 7, 2);
        path.cubicTo(15, 1, 16, 9, 10, 10);
        path.cubicTo(7, 11, 5, 9, 7, 8);
        p.setPen(Pen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(Pen(kInk, 1.5));
        p.drawLine(QPointF(6, 13), QPointF(4, 15));
    };
    icons["marquee-rectangle"] = [](QPainter& p) {
        Marquee(p, false);
    };
    icons["marquee-ellipse"] = [](QPainter& p) {
        Marquee(p, true);
    };
    icons["roi-cut"] = [](QPainter& p) {
        Marquee(p, false);
        p.setPen(Pen(kRed, 1.5));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    };
    icons["magnifier"] = [](QPainter& p) {
        Magnifier(p, QColor(170, 210, 255));
    };
    icons["zoom"] = [](QPainter& p) {
        Magnifier(p, kPaper);
        p.setPen(Pen(kInk, 1.3));
        p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
    };
    icons["pencil"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF{{11, 1.5}, {14.5, 5}, {5, 14.5}, {1.5, 14.5}, {1.5, 11}});
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF{{1.5, 14.5}, {1.5, 12.5}, {3.5, 14.5}});
    };
    icons["line"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.6));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
    };
    icons["ellipse"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 3.5, 13, 9));
    };
    icons["ellipse-filled"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1.5, 3.5, 13, 9));
    };
    icons["rectangle"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
    };
    icons["rectangle-filled"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
    };
    const QPolygonF polygon{{2, 6}, {8, 1.5}, {14.5, 5}, {12, 14}, {4, 12}};
    icons["polygon"] = [polygon](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(polygon);
    };
    icons["polygon-filled"] = [polygon](QPainter& p) {
        p.setPen(Pen(kInk, 1.3));
        p.setBrush(kBlue);
        p.drawPolygon(polygon);
    };
    icons["fill"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kGrey);
        p.drawPolygon(QPolygonF{{2, 7}, {7, 2}, {13, 8}, {8, 13}});
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{{2, 7}, {13, 8}, {8, 13}});
        p.drawEllipse(QPointF(14, 12.5), 1.5, 2.5);
    };
    icons["text"] = [](QPainter& p) {
        Text(p, QRectF(0, 0, 16, 16), "A", 15, kInk);
    };
    icons["ruler-sign"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kYellow);
        p.drawRect(QRectF(0.5, 5.5, 15, 5));
        for (int x = 2; x < 15; x += 2)
            p.drawLine(QPointF(x + 0.5, 5.5), QPointF(x + 0.5, x % 4 == 0 ? 8.5 : 7.5));
    };
    icons["arrow-sign"] = [](QPainter& p) {
        p.setPen(Pen(kRed, 2));
        p.drawLine(QPointF(2, 14), QPointF(11, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF{{15, 1}, {13.5, 9}, {7, 2.5}});
    };
    icons["eyedropper"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 2.5));
        p.drawLine(QPointF(3, 13), QPointF(10, 6));
        p.setPen(Pen(kInk, 4));
        p.drawLine(QPointF(11, 5), QPointF(13, 3));
        p.setPen(Pen(kBlue, 1.2));
        p.drawLine(QPointF(3, 13), QPointF(6, 10));
    };
    icons["sign-setting"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kRed);
        p.drawRect(QRectF(1.5, 1.5, 6, 6));
        p.setBrush(kGreen);
        p.drawRect(QRectF(8.5, 1.5, 6, 6));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 8.5, 6, 6));
        Text(p, QRectF(8, 8, 8, 8), "A", 8, kInk);
    };
    icons["flip-horizontal"] = [](QPainter& p) {
        p.setPen(Pen(kGrey, 1, Qt::DashLine));
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        p.setPen(Pen(kInk));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{{3, 6.5}, {13, 6.5}, {3, 1.5}});
        p.setBrush(kLight);
        p.drawPolygon(QPolygonF{{3, 9.5}, {13, 9.5}, {3, 14.5}});
    };
    icons["flip-vertical"] = [](QPainter& p) {
        p.setPen(Pen(kGrey, 1, Qt::DashLine));
        p.drawLine(QPointF(8, 1), QPointF(8, 15));
        p.setPen(Pen(kInk));
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF{{6.5, 3}, {6.5, 13}, {1.5, 13}});
        p.setBrush(kLight);
        p.drawPolygon(QPolygonF{{9.5, 3}, {9.5, 13}, {14.5, 13}});
    };
    icons["zoom-transform"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kLight);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 8.5, 6, 6));
        p.setPen(Pen(kRed, 1.4));
        p.drawLine(QPointF(8, 8), QPointF(12.5, 3.5));
        p.drawPolyline(QPolygonF{{9, 3.5}, {12.5, 3.5}, {12.5, 7}});
    };
    icons["rotate"] = [](QPainter& p) {
        CircularArrow(p, kBlue);
    };
    icons["free-transform"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kLight);
        p.drawPolygon(QPolygonF{{3, 2}, {14, 4}, {12, 14}, {2, 11}});
        Handles(p, {{3, 2}, {14, 4}, {12, 14}, {2, 11}});
    };
    icons["net-warping"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        QPainterPath bent;
        bent.moveTo(1.5, 6);
        bent.cubicTo(5, 9, 10, 3, 14.5, 6);
        bent.moveTo(1.5, 10);
        bent.cubicTo(5, 13, 10, 7, 14.5, 10);
        bent.moveTo(6, 1.5);
        bent.cubicTo(9, 5, 3, 10, 6, 14.5);
        bent.moveTo(10, 1.5);
        bent.cubicTo(13, 5, 7, 10, 10, 14.5);
        p.setPen(Pen(kBlue));
        p.drawPath(bent);
    };
    icons["measure-point"] = [](QPainter& p) {
        p.setPen(Pen(kBlue, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
        Cross(p, QPointF(8, 8), kRed);
    };
    icons["adjust-point"] = [](QPainter& p) {
        p.setPen(Pen(kBlue, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(6, 10), 4, 4);
        Cross(p, QPointF(6, 10), kRed);
        p.setPen(Pen(kInk, 1.2));
        p.drawLine(QPointF(9, 7), QPointF(14, 2));
        p.drawPolyline(QPolygonF{{10.5, 2}, {14, 2}, {14, 5.5}});
    };
    icons["measure-point-to-point"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1, Qt::DashLine));
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        Cross(p, QPointF(4, 12), kRed);
        Cross(p, QPointF(12, 4), kRed);
    };
    icons["measure-line"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.5));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
        Cross(p, QPointF(3, 13), kRed);
        Cross(p, QPointF(13, 3), kRed);
    };
    icons["adjust-line"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.5));
        p.drawLine(QPointF(3, 13), QPointF(13, 3));
        Handles(p, {{3, 13}, {13, 3}});
    };
    icons["measure-circle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 6, 6);
        Cross(p, QPointF(8, 8), kRed);
    };
    icons["measure-three-point-circle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        for (QPointF point : {QPointF(2, 8), QPointF(12.2, 3.8), QPointF(12.2, 12.2)})
            p.drawEllipse(point, 1.8, 1.8);
    };
    icons["adjust-circle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 8), 6, 6);
        Handles(p, {{8, 8}, {14, 8}});
    };
    icons["measure-rectangle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 3.5, 11, 9));
        Cross(p, QPointF(2.5, 3.5), kRed);
        Cross(p, QPointF(13.5, 12.5), kRed);
    };
    icons["adjust-rectangle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 3.5, 11, 9));
        Handles(p, {{2.5, 3.5}, {13.5, 3.5}, {13.5, 12.5}, {2.5, 12.5}});
    };
    icons["measure-angle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.5));
        p.drawPolyline(QPolygonF{{14, 3}, {2, 13}, {14, 13}});
        p.setPen(Pen(kBlue, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-4, 7, 12, 12), 0, 40 * 16);
    };
    icons["adjust-angle"] = [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.5));
        p.drawPolyline(QPolygonF{{14, 3}, {2, 13}, {14, 13}});
        Handles(p, {{14, 3}, {2, 13}, {14, 13}});
    };
    // A bar between two edges and the width across it.
    icons["measure-width"] = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kLight);
        p.drawRect(QRectF(4.5, 1, 7, 14));
        p.setPen(Pen(kInk, 1.2));
        p.drawLine(QPointF(4.5, 1), QPointF(4.5, 15));
        p.drawLine(QPointF(11.5, 1), QPointF(11.5, 15));
        p.setPen(Pen(kGreen, 1.5));
        p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
        Cross(p, QPointF(4.5, 8), kRed);
        Cross(p, QPointF(11.5, 8), kRed);
    };
    // A step edge with a point drawn onto it.
    icons["snap-edges"] = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kGrey);
        p.drawRect(QRectF(1, 1, 7, 14));
        p.setPen(Pen(kBlue, 1.2));
        p.drawLine(QPointF(14, 4), QPointF(10, 8));
        p.drawPolyline(QPolygonF{{10, 5.5}, {10, 8}, {12.5, 8}});
        Cross(p, QPointF(8, 8), kRed);
    };
    icons["measure-color"] = [](QPainter& p) {
        const QColor colors[] = {kRed, kGreen, kBlue, kYellow};
        p.setPen(Pen(kInk));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(colors[i]);
            p.drawRect(QRectF(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 6, 6));
        }
    };
    icons["graph-merge"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        QLinearGradient sky(0, 0, 0, 16);
        sky.setColorAt(0, QColor(120, 170, 230));
        sky.setColorAt(1, QColor(90, 150, 80));
        p.setBrush(sky);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Pen(kYellow, 1.5));
        p.drawPolyline(QPolygonF{{3, 12}, {6, 7}, {9, 9}, {13, 3}});
    };
    icons["clear-data"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 11, 13));
        for (int y = 4; y < 13; y += 3)
            p.drawLine(QPointF(3.5, y + 0.5), QPointF(10.5, y + 0.5));
        p.setPen(Pen(kRed, 2));
        p.drawLine(QPointF(8, 8), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 8), QPointF(8, 14.5));
    };
    icons["graph-build"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.drawPolyline(QPolygonF{{3.5, 3}, {3.5, 12.5}, {13, 12.5}});
        p.setPen(Pen(kGreen, 1.4));
        p.drawPolyline(QPolygonF{{4, 11}, {7, 6}, {10, 8}, {13, 3.5}});
    };
    icons["graph-print"] = [](QPainter& p) {
        Printer(p, kPaper);
        p.setPen(Pen(kGreen, 1.2));
        p.drawPolyline(QPolygonF{{5, 6}, {7, 3.5}, {9, 5}, {11, 2.5}});
    };
    icons["play-open"] = [](QPainter& p) {
        Film(p, QRectF(1.5, 2.5, 13, 8));
        p.setPen(Pen(kInk));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF{{1.5, 15}, {4, 9.5}, {15.5, 9.5}, {13.5, 15}});
    };
    icons["play-rate"] = [](QPainter& p) {
        Triangle(p, 1, true);
        Triangle(p, 7, true);
        Text(p, QRectF(8, 9, 8, 7), "x", 8, kRed);
    };
    icons["snap"] = [](QPainter& p) {
        Camera(p);
    };
    icons["play-run"] = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF{{4, 2}, {13, 8}, {4, 14}});
    };
    icons["pause"] = [](QPainter& p) {
        Bar(p, 4);
        Bar(p, 10);
    };
    icons["play-to-start"] = [](QPainter& p) {
        Bar(p, 2);
        Triangle(p, 4.5, false);
        Triangle(p, 9.5, false);
    };
    icons["play-prev-frame"] = [](QPainter& p) {
        Triangle(p, 3, false);
        Bar(p, 11);
    };
    icons["play-next-frame"] = [](QPainter& p) {
        Bar(p, 3);
        Triangle(p, 7, true);
    };
    icons["play-to-end"] = [](QPainter& p) {
        Triangle(p, 0.5, true);
        Triangle(p, 5.5, true);
        Bar(p, 12);
    };
    icons["play-restart"] = [](QPainter& p) {
        CircularArrow(p, kGreen);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF{{6.5, 5.5}, {11, 8}, {6.5, 10.5}});
    };
    icons["stop"] = [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(3, 3, 10, 10));
    };
    icons["preview"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kGrey);
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 9), 1, 1);
        p.setBrush(QColor(120, 170, 230));
        p.drawRect(QRectF(3.5, 4.5, 9, 5));
        p.drawLine(QPointF(8, 11.5), QPointF(8, 13.5));
        p.drawLine(QPointF(4.5, 14.5), QPointF(11.5, 14.5));
    };
    icons["capture-time"] = [](QPainter& p) {
        p.setPen(Pen(kInk, 1.2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
        p.drawLine(QPointF(8, 8), QPointF(11, 10));
    };
    icons["capture-rate"] = [](QPainter& p) {
        Film(p, QRectF(0.5, 1.5, 15, 7));
        Text(p, QRectF(0, 8, 16, 8), "fps", 7, kInk);
    };
    icons["capture-file"] = [](QPainter& p) {
        Page(p);
        Film(p, QRectF(4.5, 7.5, 8, 5));
    };
    icons["capture-record"] = [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kRed);
        p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    };
    return icons;
}

QImage Render(const Draw& draw, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return image;
}

// The application icon: a microscope slide with a measured cell.
void DrawAppIcon(QPainter& p) {
    QLinearGradient glass(0, 0, 16, 16);
    glass.setColorAt(0, QColor(60, 110, 190));
    glass.setColorAt(1, QColor(20, 40, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QRadialGradient cell(QPointF(7, 7), 5);
    cell.setColorAt(0, QColor(250, 230, 140));
    cell.setColorAt(1, QColor(220, 120, 60));
    p.setBrush(cell);
    p.drawEllipse(QPointF(7.5, 8), 4.5, 3.8);
    p.setPen(Pen(kPaper, 0.8));
    p.drawLine(QPointF(3, 13.5), QPointF(12, 13.5));
    p.drawLine(QPointF(3, 12.5), QPointF(3, 14.5));
    p.drawLine(QPointF(12, 12.5), QPointF(12, 14.5));
}

QImage RenderSplash() {
    const QSize size(375, 252);
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, size.height());
    background.setColorAt(0, QColor(24, 44, 90));
    background.setColorAt(1, QColor(8, 14, 32));
    p.fillRect(image.rect(), background);
    // A field of cells, as under the microscope.
    const QPointF cells[] = {{300, 60}, {330, 120}, {280, 170}, {345, 200}, {250, 95}};
    for (QPointF c : cells) {
        QRadialGradient cell(c, 26);
        cell.setColorAt(0, QColor(250, 230, 150, 220));
        cell.setColorAt(0.7, QColor(220, 130, 70, 150));
        cell.setColorAt(1, QColor(220, 130, 70, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(cell);
        p.drawEllipse(c, 26, 22);
    }
    p.setPen(Pen(QColor(120, 220, 120), 2));
    p.drawLine(QPointF(250, 95), QPointF(330, 120));
    p.save();
    p.translate(24, 28);
    p.scale(4, 4);
    DrawAppIcon(p);
    p.restore();
    QFont title("Liberation Sans");
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(24, 110, 300, 50), Qt::AlignLeft | Qt::AlignVCenter, "Halvera");
    QFont subtitle("Liberation Sans");
    subtitle.setPixelSize(14);
    p.setFont(subtitle);
    p.setPen(QColor(200, 210, 230));
    p.drawText(QRectF(26, 160, 320, 24), Qt::AlignLeft | Qt::AlignVCenter,
               "Microscope image workstation");
    p.drawText(QRectF(26, 212, 320, 24), Qt::AlignLeft | Qt::AlignVCenter, "Starting...");
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.filePath("icons"));
    bool ok = true;
    for (const auto& [name, draw] : Icons())
        ok &=
            Save(Render(draw, 16), out.filePath("icons/" + QString::fromStdString(name) + ".png"));
    ok &= Save(Render(DrawAppIcon, 16), out.filePath("halvera-16.png"));
    ok &= Save(Render(DrawAppIcon, 64), out.filePath("halvera-64.png"));
    ok &= Save(RenderSplash(), out.filePath("splash.png"));
    // The desktop's icon theme: the application icon at the sizes menus,
    // docks and file managers ask for (installed by `make install`).
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        QDir().mkpath(out.filePath(folder));
        ok &= Save(Render(DrawAppIcon, size), out.filePath(folder + "/halvera.png"));
    }
    return ok ? 0 : 1;
}
