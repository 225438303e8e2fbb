# tavo_render: the painter.
