#include "controls/KmBrowseDlg.h"

#include <QFileDialog>

namespace kelmora {

TKmBrowseDlg::TKmBrowseDlg(QObject* owner) : QObject(owner) {}
TKmBrowseDlg::~TKmBrowseDlg() = default;

bool TKmBrowseDlg::Execute() { return false; }

void TKmBrowseDlg::setRunner(Runner) {}

}  // namespace kelmora
