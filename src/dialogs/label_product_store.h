#pragma once
// The label products of the template database for the dialogs: read once
// per process and folder on a worker thread, so that a dialog opens without
// waiting for them and gets them when they are there.

#include "model/label_products.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class TLabelProductStore
{
  public:
    using TList = std::shared_ptr<const TLabelProductList>;
    using TDone = std::function<void(TList)>;

    // True when the folder holds template files at all (a folder listing, no
    // reading): the caller may make room for the products.
    static bool HasDatabase(const QString &folder = LabelTemplateFolder());

    // Hands the products of the folder to done on the GUI thread, from the
    // event loop: soon when they were read before, else when the reading
    // started here (or by an earlier request) has finished. Nothing is
    // called once context is gone.
    static void Request(QObject *context, TDone done, const QString &folder = LabelTemplateFolder());

    // The products when they have been read already; null otherwise.
    static TList Ready(const QString &folder = LabelTemplateFolder());
};
