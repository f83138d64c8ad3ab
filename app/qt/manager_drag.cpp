// Qt's own startSystemMove() on X11 tells the window manager that the drag
// begins where the last pointer event was, mapped with the window's place as
// Qt last set it. Once the pointer has travelled the drag distance from the
// press, that loses the distance travelled: the box would lag behind the
// pointer by it. The request here (_NET_WM_MOVERESIZE) names the press point.
#include "app/qt/manager_drag.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t AtomNamed(xcb_connection_t* connection, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// True when the running window manager lists atom among what it supports.
bool ManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom) {
  const xcb_atom_t supported = AtomNamed(connection, "_NET_SUPPORTED");
  if (supported == XCB_ATOM_NONE || atom == XCB_ATOM_NONE) return false;
  const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 1024),
      nullptr));
  if (!reply || reply->format != 32) return false;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
  const auto* end = atoms + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t);
  return std::find(atoms, end, atom) != end;
}

// The request's direction: 0 to 7 clockwise from the top-left corner, 8 a move.
uint32_t Direction(Qt::Edges edges) {
  const bool left = edges & Qt::LeftEdge;
  const bool right = edges & Qt::RightEdge;
  if (edges & Qt::TopEdge) return left ? 0 : right ? 2 : 1;
  if (edges & Qt::BottomEdge) return left ? 6 : right ? 4 : 5;
  if (right) return 3;
  if (left) return 7;
  return 8;
}

bool StartX11ManagerDrag(xcb_connection_t* connection, QWindow& window, const QPoint& local,
                         Qt::Edges edges) {
  const auto id = static_cast<xcb_window_t>(window.winId());
  const Reply<xcb_get_geometry_reply_t> geometry(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
  if (!geometry) return false;
  const xcb_window_t root = geometry->root;
  const xcb_atom_t move_resize = AtomNamed(connection, "_NET_WM_MOVERESIZE");
  if (!ManagerSupports(connection, root, move_resize)) return false;

  // The press point on the root window, in the server's pixels.
  const QPoint native = local * window.devicePixelRatio();
  const Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
      connection,
      xcb_translate_coordinates(connection, id, root, static_cast<int16_t>(native.x()),
                                static_cast<int16_t>(native.y())),
      nullptr));
  if (!at) return false;

  xcb_client_message_event_t request = {};
  request.response_type = XCB_CLIENT_MESSAGE;
  request.format = 32;
  request.window = id;
  request.type = move_resize;
  request.data.data32[0] = static_cast<uint32_t>(at->dst_x);
  request.data.data32[1] = static_cast<uint32_t>(at->dst_y);
  request.data.data32[2] = Direction(edges);
  request.data.data32[3] = XCB_BUTTON_INDEX_1;
  request.data.data32[4] = 1;  // asked for by an application
  // The window manager takes the pointer over from the press's own grab.
  xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&request));
  xcb_flush(connection);
  return true;
}

}  // namespace

bool StartManagerDrag(QWindow& window, const QPoint& local, Qt::Edges edges) {
  // Other platforms may answer for X11 too (offscreen does), without a
  // connection to a server.
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 != nullptr && x11->connection() != nullptr) {
    return StartX11ManagerDrag(x11->connection(), window, local, edges);
  }
  return edges == Qt::Edges() ? window.startSystemMove() : window.startSystemResize(edges);
}
