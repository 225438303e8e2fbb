# tavo_view: the document view.
