#pragma once
// The "Timeshift/Record Setup" tab: the folders of the stream buffer and
// of recordings, kept in the registry under the tuner model's keys.

#include <string>

#include "win/Dialog.h"
#include "viewer/ViewerSession.h"

class FolderPage : public Dialog<FolderPage> {
 public:
  explicit FolderPage(const ViewerSession& session);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // One of the two folder boxes.
  struct FolderBox {
    std::string key;        // "SOFTWARE\Telvantis\<model>\Timeshift" or "...\Record"
    const char* valueName;  // "Timeshift" or "Record"
    const char* browseTitle;
    int label;
  };

  INT_PTR OnInitDialog();
  void Show(const FolderBox& box);
  void Select(const FolderBox& box);

  const ViewerSession& session;
  FolderBox timeshift;
  FolderBox record;
};
